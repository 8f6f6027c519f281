#pragma once

#include <cstdint>

#include <fwcommon/IdentifierRanges.h>

namespace fwcommon {

// The order id a creation type's counter holds before it hands out its
// first one: the counter's first order id is the range's first identifier.
constexpr std::int64_t OrderCounterStartOf(CreationType creationType) {
    return static_cast<std::int64_t>(IdentifierRangeOf(creationType).first) - 1;
}

}  // namespace fwcommon
