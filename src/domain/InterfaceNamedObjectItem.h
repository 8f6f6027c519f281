#pragma once

#include <memory>
#include <string>

#include "domain/IpAddressNamedObjectItem.h"

namespace fwcommon {

// An entry of an interface object: one interface name (parameter 30, also
// the display text). Otherwise an IP-address item: it compares and assigns
// as one, and an interface object's lists take both.
class InterfaceNamedObjectItem : public IpAddressNamedObjectItem {
public:
    static std::shared_ptr<InterfaceNamedObjectItem> FromInterfaceName(const std::wstring& name);

    // Answers 30 with the interface name whatever the parameter-id set
    // holds; every other id as an IP-address item.
    std::wstring GetParam(int paramId) const override;
    // As an IP-address item; the interface name is taken from an interface
    // item and cleared when other is a plain IP-address item.
    INamedObjectElement& Assign(const INamedObjectElement* other) override;

private:
    std::wstring interfaceName_;
};

}  // namespace fwcommon
