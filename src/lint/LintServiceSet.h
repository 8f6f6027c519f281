#pragma once

#include <cstdint>

#include "lint/LintSmallList.h"

namespace fwcommon::lint {

// A box of services: a closed range on each of three axes, protocol, then
// source port (ICMP type), then destination port (ICMP code).
struct ServiceBox {
    std::int64_t lo[3];
    std::int64_t hi[3];

    bool IsEmpty() const { return hi[0] < lo[0] || hi[1] < lo[1] || hi[2] < lo[2]; }
};

// Services as a union of boxes. The full set is protocols 0 to 255 with
// every port (0 to 65535) on both port axes; "no restriction" on a port or
// on an ICMP type or code is that whole axis, so protocol 1 with no type
// and protocol 1 of a ProtocolCondition are the same set.
class ServiceSet {
public:
    static constexpr std::int64_t kMaxProtocol = 255;
    static constexpr std::int64_t kMaxPort = 65535;

    static ServiceSet Full();
    static ServiceSet OfBox(const ServiceBox& box);

    bool IsEmpty() const { return boxes_.empty(); }
    bool IsFull() const;
    bool IsSubsetOf(const ServiceSet& other) const;
    void UnionWith(const ServiceSet& other);
    ServiceSet MinusUpper(const ServiceSet& cut) const;
    ServiceSet MinusLower(const ServiceSet& cut) const;
    const SmallList<ServiceBox>& Boxes() const { return boxes_; }

private:
    // This set minus cut, or false when the pieces grow past a bound.
    bool TryMinus(const ServiceSet& cut, ServiceSet& result) const;

    SmallList<ServiceBox> boxes_;
    // Whether the set is full: -1 not yet known. Changes reset it.
    mutable signed char full_ = -1;
};

// The axis range of a whole port or ICMP axis.
ServiceBox AllPortsOf(std::int64_t protocol);

}  // namespace fwcommon::lint
