#pragma once

#include <cstdint>

#include <fwcommon/DomainTypes.h>

namespace fwcommon {

// The identifiers each creation type hands out to its rules, first and
// last included. A document's rules of one creation type can be numbered
// only while they are no more than the range holds.
struct IdentifierRange {
    std::uint32_t first;
    std::uint32_t last;
};

// Generated 100001..200000, Policy 200001..300000, User 300001..2000000000,
// Post 2000000001..4294967295. Another value counts as Policy, the
// creation type of a document that names none.
constexpr IdentifierRange IdentifierRangeOf(CreationType creationType) {
    switch (creationType) {
        case Generated:
            return {100001u, 200000u};
        case User:
            return {300001u, 2000000000u};
        case Post:
            return {2000000001u, 4294967295u};
        case Policy:
        default:
            return {200001u, 300000u};
    }
}

}  // namespace fwcommon
