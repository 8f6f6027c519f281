#pragma once

#include <cstdint>
#include <string>

namespace fwcommon {

// A description of a network node that hosts pass between their own
// components through the library's types. The library itself never reads
// or fills it. A plain value, copied freely.
struct NodeInfo {
    // The node's identifier in the VPN network.
    std::int32_t id = 0;
    // The node's name.
    std::wstring name;
    // A value the host attaches to the node.
    std::int32_t flags = 0;
};

}  // namespace fwcommon
