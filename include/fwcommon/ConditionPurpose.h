#pragma once

#include <cstdint>

#include <fwcommon/export.h>

namespace fwcommon {

// The role in which a condition stands, told to the field visitors with
// every condition they receive.
struct ConditionPurpose {
    enum Type : std::int32_t {
        eSourcePurpose = 0,       // the rule's Source network condition
        eDestinationPurpose = 1,  // the rule's Destination network condition
        eServicePurpose = 2,      // the rule's service conditions
        eSchedulePurpose = 3,     // the rule's schedule conditions
        eInclusionPurpose = 4,    // a named object's inclusions
        eExclusionPurpose = 5,    // a named object's exclusions
    };
};

// The parts of a rule's condition set that a rule visitor is told are
// empty (GenericXmlRuleFieldsVisitor::VisitEmptyField).
struct RuleField {
    enum Type : std::int32_t {
        eSourceField = 5,
        eDestinationField = 6,
        eServiceField = 8,
        eScheduleField = 9,
    };
};

// The rule field of a rule's purpose: source 5, destination 6, service 8,
// schedule 9. Any other purpose throws std::invalid_argument "Cannot
// convert ConditionPurpose '<number>' to RuleField value.". Any thread may
// call it.
FWCOMMON_EXPORT RuleField::Type ToRuleField(ConditionPurpose::Type purpose);

}  // namespace fwcommon
