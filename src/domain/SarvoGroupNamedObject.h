#pragma once

#include <fwcommon/ISarvoGroupNamedObject.h>
#include "domain/NamedObject.h"

namespace fwcommon {

// A named group of VPN hosts; its items are SarvoNamedObjectItem.
class SarvoGroupNamedObject : public NamedObject, public virtual ISarvoGroupNamedObject {
public:
    SarvoGroupNamedObject(const std::wstring& name, const std::wstring& description,
                          CreationType creationType);
    SarvoGroupNamedObject(std::uint32_t identifier, CreationType creationType,
                          const std::wstring& name, const std::wstring& description);

    NamedObjectType GetNamedObjectType() const override { return eSarvoGroupObject; }
    std::shared_ptr<INamedObjectElement> CreateNodeElement(std::uint32_t nodeId) override;
    std::shared_ptr<INamedObjectElement> CreateTemplateElement(
        const std::wstring& nameTemplate) override;
    std::shared_ptr<INamedObjectElement> CreateNetworkElement(std::uint32_t networkId) override;
    void RemoveVpnNodes(const std::vector<std::uint32_t>& nodeIds) override;

protected:
    std::shared_ptr<INamedObjectElement> NewElement() const override;

private:
    void RemoveVpnNodesFrom(std::uint32_t list, const std::vector<std::uint32_t>& nodeIds);
};

}  // namespace fwcommon
