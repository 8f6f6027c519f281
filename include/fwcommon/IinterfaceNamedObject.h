#pragma once

#include <memory>
#include <string>

#include <fwcommon/IipAddressNamedObject.h>
#include <fwcommon/export.h>

namespace fwcommon {

// A named object of network interfaces (eInterfaceObject): an IP-address
// object that also holds interface items (parameter ids {0, 30}).
class FWCOMMON_EXPORT IinterfaceNamedObject : public virtual IipAddressNamedObject {
public:
    IinterfaceNamedObject() = default;
    IinterfaceNamedObject(const IinterfaceNamedObject&) = default;
    IinterfaceNamedObject& operator=(const IinterfaceNamedObject&) { return *this; }
    ~IinterfaceNamedObject() override;

    virtual std::shared_ptr<INamedObjectElement> CreateInterfaceElement(
        const std::wstring& interfaceName) = 0;
};

}  // namespace fwcommon
