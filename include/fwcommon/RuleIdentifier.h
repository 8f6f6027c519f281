#pragma once

#include <cstdint>

namespace fwcommon {

// A rule element's RuleId is a signed 64-bit number; the identifier of its
// rule domain object is the low 32 bits of it. Only a RuleId within
// 0 .. 4294967295 is itself a valid identifier: one outside that range is
// never free in an identifier generator, so loading gives such a rule a new
// identifier. Any thread may call these.

constexpr std::int64_t kLargestRuleIdentifier = 4294967295LL;

// The domain identifier of a rule with this RuleId.
constexpr std::uint32_t RuleIdentifierOf(std::int64_t ruleId) {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ruleId) & 0xFFFFFFFFu);
}

// True when the RuleId is a 32-bit identifier as it stands.
constexpr bool IsRuleIdentifierValue(std::int64_t ruleId) {
    return ruleId >= 0 && ruleId <= kLargestRuleIdentifier;
}

}  // namespace fwcommon
