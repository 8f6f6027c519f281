#pragma once

#include <cstdint>
#include <memory>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/RuleIdentifier.h>
#include <fwcommon/RuleType.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// The section of a rule element by its kind; 0 for a plain Rule.
RuleType SectionOf(const Sarvo::Rule& rule);

// The domain identifier of a rule element.
inline std::uint32_t IdentifierOf(const Sarvo::Rule& rule) {
    return RuleIdentifierOf(rule.RuleId());
}

inline CreationType CreationTypeOf(const Sarvo::Rule& rule) {
    return static_cast<CreationType>(static_cast<int>(rule.CreationType()));
}

// A new rule element of the section's kind with an empty condition set and
// a copy of the action; empty for a type outside 1..5.
std::unique_ptr<Sarvo::Rule> MakeRuleElement(RuleType type, long long ruleId, long long orderId,
                                             const std::wstring& name, CreationType creationType,
                                             const Sarvo::Action& action);

// Makes target equal to source. Both must be of the same dynamic type;
// returns false (target unchanged) when they are not.
bool AssignRuleElement(Sarvo::Rule& target, const Sarvo::Rule& source);

// True when the two elements are of the same dynamic type and equal in
// every field, their polymorphic parts (action, conditions) compared by
// their own types.
bool SameRuleElement(const Sarvo::Rule& first, const Sarvo::Rule& second);

}  // namespace fwcommon
