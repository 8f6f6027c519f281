#pragma once

#include <cstdint>
#include <string>

#include <fwcommon/export.h>

namespace fwcommon {

// The rule section a rule belongs to. Each section holds the rules of one
// document rule kind (VpnRule, NatRule, TunnelingRule, LocalRule,
// TransitRule). Values outside 1..5 name no section.
enum RuleType : std::int32_t {
    eVPNRules = 1,
    eNATRules = 2,
    eTunnelRules = 3,
    eLocalRules = 4,
    eTransitRules = 5,
};

// The enumerator's name ("eLocalRules"), or "" for a value outside 1..5.
// Any thread may call it.
FWCOMMON_EXPORT std::wstring RuleTypeName(RuleType type);

// The section as administrators name it ("local", "vpn", "transit",
// "tunnel", "nat"), or "" for a value outside 1..5. Any thread may call it.
FWCOMMON_EXPORT std::wstring RuleSectionWord(RuleType type);

}  // namespace fwcommon
