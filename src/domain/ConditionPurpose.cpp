#include <fwcommon/ConditionPurpose.h>

#include <stdexcept>

#include <boost/format.hpp>

namespace fwcommon {

RuleField::Type ToRuleField(ConditionPurpose::Type purpose) {
    switch (purpose) {
        case ConditionPurpose::eSourcePurpose:
            return RuleField::eSourceField;
        case ConditionPurpose::eDestinationPurpose:
            return RuleField::eDestinationField;
        case ConditionPurpose::eServicePurpose:
            return RuleField::eServiceField;
        case ConditionPurpose::eSchedulePurpose:
            return RuleField::eScheduleField;
        default:
            throw std::invalid_argument(
                (boost::format("Cannot convert ConditionPurpose '%1%' to RuleField value.") %
                 static_cast<int>(purpose))
                    .str());
    }
}

}  // namespace fwcommon
