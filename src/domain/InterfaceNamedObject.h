#pragma once

#include <fwcommon/IinterfaceNamedObject.h>
#include "domain/IpAddressNamedObject.h"

namespace fwcommon {

// A named object of network interfaces: an IP-address object that also
// creates interface items. CopyElement makes IP-address items, as for an
// IP-address object.
class InterfaceNamedObject : public IpAddressNamedObject, public virtual IinterfaceNamedObject {
public:
    InterfaceNamedObject(const std::wstring& name, const std::wstring& description,
                         CreationType creationType);
    InterfaceNamedObject(std::uint32_t identifier, CreationType creationType,
                         const std::wstring& name, const std::wstring& description);

    NamedObjectType GetNamedObjectType() const override { return eInterfaceObject; }
    std::shared_ptr<INamedObjectElement> CreateInterfaceElement(
        const std::wstring& interfaceName) override;
};

}  // namespace fwcommon
