#include "domain/InterfaceNamedObject.h"

#include "domain/InterfaceNamedObjectItem.h"

namespace fwcommon {

InterfaceNamedObject::InterfaceNamedObject(const std::wstring& name,
                                           const std::wstring& description,
                                           CreationType creationType)
    : IpAddressNamedObject(name, description, creationType) {}

InterfaceNamedObject::InterfaceNamedObject(std::uint32_t identifier, CreationType creationType,
                                           const std::wstring& name,
                                           const std::wstring& description)
    : IpAddressNamedObject(identifier, creationType, name, description) {}

std::shared_ptr<INamedObjectElement> InterfaceNamedObject::CreateInterfaceElement(
    const std::wstring& interfaceName) {
    return InterfaceNamedObjectItem::FromInterfaceName(interfaceName);
}

}  // namespace fwcommon
