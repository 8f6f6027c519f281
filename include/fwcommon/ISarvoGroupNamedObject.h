#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <fwcommon/INamedObject.h>
#include <fwcommon/export.h>

namespace fwcommon {

// A named group of VPN hosts (eSarvoGroupObject). The factories create VPN
// host items: one node (parameter 33), one network (32) or a name template
// (31).
class FWCOMMON_EXPORT ISarvoGroupNamedObject : public virtual INamedObject {
public:
    ISarvoGroupNamedObject() = default;
    ISarvoGroupNamedObject(const ISarvoGroupNamedObject&) = default;
    ISarvoGroupNamedObject& operator=(const ISarvoGroupNamedObject&) { return *this; }
    ~ISarvoGroupNamedObject() override;

    virtual std::shared_ptr<INamedObjectElement> CreateNodeElement(std::uint32_t nodeId) = 0;
    virtual std::shared_ptr<INamedObjectElement> CreateTemplateElement(
        const std::wstring& nameTemplate) = 0;
    virtual std::shared_ptr<INamedObjectElement> CreateNetworkElement(std::uint32_t networkId) = 0;
    // Removes, from the exclusions and then the inclusions, every node item
    // whose node is one of nodeIds (through RemoveItem, which notifies).
    virtual void RemoveVpnNodes(const std::vector<std::uint32_t>& nodeIds) = 0;
};

}  // namespace fwcommon
