#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <fwcommon/export.h>

namespace fwcommon {

// A node of the VPN network, supplied by the host. The library asks it for
// nothing but its identifier; hosts add whatever else their nodes carry.
// Held by shared pointer; used on the thread of the Context it was given to.
class FWCOMMON_EXPORT IVpnNode {
public:
    IVpnNode() = default;
    IVpnNode(const IVpnNode&) = default;
    IVpnNode& operator=(const IVpnNode&) = default;
    virtual ~IVpnNode();

    // The node's identifier in the VPN network, as VpnNodeId conditions
    // name it.
    virtual std::uint32_t GetIdentifier() const = 0;
};

using VpnNodeList = std::vector<std::shared_ptr<IVpnNode>>;

// The first node of the list whose identifier is identifier; empty when no
// node has it or the list is empty. Any thread, on a list nobody changes
// meanwhile.
FWCOMMON_EXPORT std::shared_ptr<IVpnNode> FindNode(unsigned long identifier,
                                                   std::shared_ptr<const VpnNodeList> nodes);

}  // namespace fwcommon
