#pragma once

#include <cstdint>

namespace fwcommon {

// The operational mode of the node a Context works for. Only the range of
// named-object internal numbers depends on it: in eLowNumberingMode they
// start at 1, in every other mode at 1000000. Other values pass through
// unchanged.
enum CoreOperationalTypes : std::int32_t {
    eStandardMode = 1,
    eLowNumberingMode = 2,
};

}  // namespace fwcommon
