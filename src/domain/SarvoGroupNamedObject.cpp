#include "domain/SarvoGroupNamedObject.h"

#include <algorithm>
#include <string>

#include <fwcommon/ItemParameters.h>
#include "domain/SarvoNamedObjectItem.h"

namespace fwcommon {

namespace {

constexpr std::uint32_t kInclusions = 0;
constexpr std::uint32_t kExclusions = 1;

// The node of a VPN host item that answers the node parameter.
bool NodeOf(const std::shared_ptr<INamedItem>& entry, std::uint32_t& node) {
    const auto* item = dynamic_cast<const SarvoNamedObjectItem*>(entry.get());
    if (item == nullptr || item->GetParamIds().count(kParamNode) == 0) {
        return false;
    }
    node = static_cast<std::uint32_t>(std::stoul(item->GetParam(kParamNode)));
    return true;
}

}  // namespace

SarvoGroupNamedObject::SarvoGroupNamedObject(const std::wstring& name,
                                             const std::wstring& description,
                                             CreationType creationType)
    : NamedObject(name, description, creationType) {}

SarvoGroupNamedObject::SarvoGroupNamedObject(std::uint32_t identifier, CreationType creationType,
                                             const std::wstring& name,
                                             const std::wstring& description)
    : NamedObject(identifier, creationType, name, description) {}

std::shared_ptr<INamedObjectElement> SarvoGroupNamedObject::CreateNodeElement(
    std::uint32_t nodeId) {
    return SarvoNamedObjectItem::ForNode(nodeId);
}

std::shared_ptr<INamedObjectElement> SarvoGroupNamedObject::CreateTemplateElement(
    const std::wstring& nameTemplate) {
    return SarvoNamedObjectItem::FromTemplate(nameTemplate);
}

std::shared_ptr<INamedObjectElement> SarvoGroupNamedObject::CreateNetworkElement(
    std::uint32_t networkId) {
    return SarvoNamedObjectItem::ForNetwork(networkId);
}

void SarvoGroupNamedObject::RemoveVpnNodes(const std::vector<std::uint32_t>& nodeIds) {
    RemoveVpnNodesFrom(kExclusions, nodeIds);
    RemoveVpnNodesFrom(kInclusions, nodeIds);
}

void SarvoGroupNamedObject::RemoveVpnNodesFrom(std::uint32_t list,
                                               const std::vector<std::uint32_t>& nodeIds) {
    const auto entries = list == kInclusions ? GetInclusions() : GetExclusions();
    for (const auto& entry : *entries) {
        std::uint32_t node = 0;
        if (NodeOf(entry, node) &&
            std::find(nodeIds.begin(), nodeIds.end(), node) != nodeIds.end()) {
            RemoveItem(list, entry);
        }
    }
}

std::shared_ptr<INamedObjectElement> SarvoGroupNamedObject::NewElement() const {
    return std::make_shared<SarvoNamedObjectItem>();
}

}  // namespace fwcommon
