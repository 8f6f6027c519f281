#include "domain/IpAddressNamedObjectItem.h"

#include <typeinfo>

#include <fwcommon/ItemParameters.h>

namespace fwcommon {

INamedObjectElement::~INamedObjectElement() = default;

IpAddressNamedObjectItem::IpAddressNamedObjectItem() : NamedObjectItem({kParamDisplayText}) {}

std::shared_ptr<IpAddressNamedObjectItem> IpAddressNamedObjectItem::FromText(
    const std::wstring& text) {
    auto item = std::make_shared<IpAddressNamedObjectItem>();
    item->freeText_ = text;
    item->text_ = text;
    item->core_.Add({kParamFreeText});
    return item;
}

std::shared_ptr<IpAddressNamedObjectItem> IpAddressNamedObjectItem::FromAddress(
    const std::wstring& address) {
    return FromAddressAndMask(address, std::wstring());
}

std::shared_ptr<IpAddressNamedObjectItem> IpAddressNamedObjectItem::FromAddressAndMask(
    const std::wstring& address, const std::wstring& mask) {
    auto item = std::make_shared<IpAddressNamedObjectItem>();
    item->address_ = address;
    item->text_ = address;
    item->core_.Add({kParamAddress});
    if (!mask.empty()) {
        item->mask_ = mask;
        item->text_ += L"/" + mask;
        item->core_.Add({kParamMask});
    }
    return item;
}

std::shared_ptr<IpAddressNamedObjectItem> IpAddressNamedObjectItem::FromRange(
    const std::wstring& first, const std::wstring& last) {
    auto item = std::make_shared<IpAddressNamedObjectItem>();
    item->address_ = first;
    item->rangeEnd_ = last;
    item->text_ = first + L"-" + last;
    item->core_.Add({kParamRangeStart, kParamRangeEnd});
    return item;
}

std::wstring IpAddressNamedObjectItem::GetParam(int paramId) const {
    core_.Require(paramId, "fwcommon::IpAddressNamedObjectItem::GetParam");
    switch (paramId) {
        case kParamDisplayText:
            return text_;
        case kParamMask:
            return mask_;
        case kParamRangeStart:
        case kParamAddress:
            return address_;
        case kParamRangeEnd:
            return rangeEnd_;
        case kParamFreeText:
            return freeText_;
        default:
            ThrowUnansweredParam("InterfaceNamedObjectItem");
    }
}

bool IpAddressNamedObjectItem::IsEqual(const std::shared_ptr<INamedItem>& other) const {
    if (other.get() == this) {
        return true;
    }
    // Loading compares every new address with the object's others: an item
    // of the same class, the usual case, needs no dynamic_cast.
    const INamedItem* given = other.get();
    const auto* item = given && typeid(*given) == typeid(*this)
                           ? static_cast<const IpAddressNamedObjectItem*>(given)
                           : dynamic_cast<const IpAddressNamedObjectItem*>(given);
    return item != nullptr && text_ == item->text_ && freeText_ == item->freeText_ &&
           address_ == item->address_ && rangeEnd_ == item->rangeEnd_ && mask_ == item->mask_ &&
           core_.paramIds == item->core_.paramIds;
}

std::size_t IpAddressNamedObjectItem::EqualityHash() const {
    std::size_t hash = 0;
    HashInto(hash, text_);
    HashInto(hash, address_);
    return hash;
}

INamedObjectElement& IpAddressNamedObjectItem::Assign(const INamedObjectElement* other) {
    const auto* item = dynamic_cast<const IpAddressNamedObjectItem*>(other);
    if (item != nullptr && item != this) {
        text_ = item->text_;
        freeText_ = item->freeText_;
        address_ = item->address_;
        rangeEnd_ = item->rangeEnd_;
        mask_ = item->mask_;
        core_.paramIds = item->core_.paramIds;
    }
    return *this;
}

}  // namespace fwcommon
