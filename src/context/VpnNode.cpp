#include <fwcommon/IVpnNode.h>

namespace fwcommon {

IVpnNode::~IVpnNode() = default;

std::shared_ptr<IVpnNode> FindNode(unsigned long identifier,
                                   std::shared_ptr<const VpnNodeList> nodes) {
    if (!nodes) {
        return std::shared_ptr<IVpnNode>();
    }
    for (const auto& node : *nodes) {
        if (node && node->GetIdentifier() == identifier) {
            return node;
        }
    }
    return std::shared_ptr<IVpnNode>();
}

}  // namespace fwcommon
