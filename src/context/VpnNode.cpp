#include <fwcommon/IVpnNode.h>

namespace fwcommon {

IVpnNode::~IVpnNode() = default;

}  // namespace fwcommon
