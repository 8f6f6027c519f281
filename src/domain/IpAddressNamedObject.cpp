#include "domain/IpAddressNamedObject.h"

#include "domain/IpAddressNamedObjectItem.h"

namespace fwcommon {

IpAddressNamedObject::IpAddressNamedObject(const std::wstring& name,
                                           const std::wstring& description,
                                           CreationType creationType)
    : NamedObject(name, description, creationType) {}

IpAddressNamedObject::IpAddressNamedObject(std::uint32_t identifier, CreationType creationType,
                                           const std::wstring& name,
                                           const std::wstring& description)
    : NamedObject(identifier, creationType, name, description) {}

std::shared_ptr<INamedObjectElement> IpAddressNamedObject::CreateTextElement(
    const std::wstring& text) {
    return IpAddressNamedObjectItem::FromText(text);
}

std::shared_ptr<INamedObjectElement> IpAddressNamedObject::CreateAddressElement(
    const std::wstring& address) {
    return IpAddressNamedObjectItem::FromAddress(address);
}

std::shared_ptr<INamedObjectElement> IpAddressNamedObject::CreateMaskElement(
    const std::wstring& address, const std::wstring& mask) {
    return IpAddressNamedObjectItem::FromAddressAndMask(address, mask);
}

std::shared_ptr<INamedObjectElement> IpAddressNamedObject::CreateRangeElement(
    const std::wstring& first, const std::wstring& last) {
    return IpAddressNamedObjectItem::FromRange(first, last);
}

std::shared_ptr<INamedObjectElement> IpAddressNamedObject::NewElement() const {
    return std::make_shared<IpAddressNamedObjectItem>();
}

}  // namespace fwcommon
