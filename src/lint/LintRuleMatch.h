#pragma once

#include <fwcommon/rules.hxx>
#include "lint/LintConditions.h"

namespace fwcommon::lint {

// One side of the traffic (source or destination). Any: no condition.
// Unknown: a side of no known kind, which only Any covers.
enum class SideKind { eAny, ePublic, ePrivate, eUnknown };

struct Side {
    SideKind kind = SideKind::eAny;
    InterfaceBounds interfaces = InterfaceBounds::Full();
    HostBounds hosts = HostBounds::Full();
    VpnBounds vpnHosts = VpnBounds::Full();
};

// What a rule matches: the product of its schedule, its two sides and its
// service. Each part is the union of its conditions; a part without
// conditions matches everything.
struct RuleMatch {
    ScheduleBounds schedule = ScheduleBounds::Full();
    Side source;
    ServiceBounds service = ServiceBounds::Full();
    Side destination;
};

RuleMatch BuildRuleMatch(const Sarvo::ConditionSet& conditions, ConditionEvaluator& evaluator,
                         const ValueSink& sink);

// The part proved to match nothing ("schedule", "source", "service",
// "destination"), or null when none is.
const wchar_t* EmptyPart(const RuleMatch& match);

// True when outer is proved to match everything inner matches.
bool Covers(const RuleMatch& outer, const RuleMatch& inner);

}  // namespace fwcommon::lint
