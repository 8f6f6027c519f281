#include "domain/SarvoNamedObjectItem.h"

#include <fwcommon/ItemParameters.h>

namespace fwcommon {

SarvoNamedObjectItem::SarvoNamedObjectItem() : NamedObjectItem({kParamDisplayText}) {}

std::shared_ptr<SarvoNamedObjectItem> SarvoNamedObjectItem::ForNode(std::uint32_t nodeId) {
    auto item = std::make_shared<SarvoNamedObjectItem>();
    item->nodeId_ = nodeId;
    item->text_ = Decimal(nodeId);
    item->core_.Add({kParamNode});
    return item;
}

std::shared_ptr<SarvoNamedObjectItem> SarvoNamedObjectItem::ForNetwork(std::uint32_t networkId) {
    auto item = std::make_shared<SarvoNamedObjectItem>();
    item->networkId_ = networkId;
    item->text_ = Decimal(networkId);
    item->core_.Add({kParamNetwork});
    return item;
}

std::shared_ptr<SarvoNamedObjectItem> SarvoNamedObjectItem::FromTemplate(
    const std::wstring& nameTemplate) {
    auto item = std::make_shared<SarvoNamedObjectItem>();
    item->nameTemplate_ = nameTemplate;
    item->text_ = nameTemplate;
    item->core_.Add({kParamNameTemplate});
    return item;
}

std::wstring SarvoNamedObjectItem::GetName() {
    if (nodeId_ != 0) {
        return L"ID " + text_;
    }
    if (!nameTemplate_.empty()) {
        return L"MASK " + text_;
    }
    return L"NET " + text_;
}

std::wstring SarvoNamedObjectItem::GetParam(int paramId) const {
    core_.Require(paramId, "fwcommon::SarvoNamedObjectItem::GetParam");
    switch (paramId) {
        case kParamDisplayText:
            return text_;
        case kParamNameTemplate:
            return nameTemplate_;
        case kParamNetwork:
            return Decimal(networkId_);
        case kParamNode:
            return Decimal(nodeId_);
        default:
            ThrowUnansweredParam("SarvoNamedObjectItem");
    }
}

bool SarvoNamedObjectItem::IsEqual(const std::shared_ptr<INamedItem>& other) const {
    if (other.get() == this) {
        return true;
    }
    const auto* item = dynamic_cast<const SarvoNamedObjectItem*>(other.get());
    return item != nullptr && text_ == item->text_ && nodeId_ == item->nodeId_ &&
           core_.paramIds == item->core_.paramIds && nameTemplate_ == item->nameTemplate_ &&
           networkId_ == item->networkId_;
}

std::size_t SarvoNamedObjectItem::EqualityHash() const {
    std::size_t hash = 0;
    HashInto(hash, text_);
    HashInto(hash, nodeId_);
    HashInto(hash, networkId_);
    return hash;
}

INamedObjectElement& SarvoNamedObjectItem::Assign(const INamedObjectElement* other) {
    const auto* item = dynamic_cast<const SarvoNamedObjectItem*>(other);
    if (item != nullptr && item != this) {
        nodeId_ = item->nodeId_;
        nameTemplate_ = item->nameTemplate_;
        networkId_ = item->networkId_;
        text_ = item->text_;
        core_.paramIds = item->core_.paramIds;
    }
    return *this;
}

}  // namespace fwcommon
