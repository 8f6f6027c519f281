// Strict field-by-field comparison of two rules.

#include <fwcommon/XmlRuleStrictComparator.h>

#include "compare/MismatchText.h"
#include "compare/RuleComparison.h"

namespace fwcommon {

using tools::Mismatch;

XmlRuleStrictComparator::XmlRuleStrictComparator(const std::shared_ptr<Sarvo::Rule>& first,
                                                 const std::shared_ptr<Sarvo::Rule>& second)
    : first_(first), second_(second) {}

bool XmlRuleStrictComparator::IsEqual() {
    mismatchDetails_.clear();
    return CompareHeader() && CompareConditions();
}

// Identifiers, name, action, origin and activity.
bool XmlRuleStrictComparator::CompareHeader() {
    const Sarvo::Rule& a = *first_;
    const Sarvo::Rule& b = *second_;
    if (a.RuleId() != b.RuleId()) {
        return Mismatch(mismatchDetails_, L"RuleId mismatch: '%1%' and '%2%'", a.RuleId(),
                        b.RuleId());
    }
    if (a.OrderId() != b.OrderId()) {
        return Mismatch(mismatchDetails_, L"OrderId mismatch: '%1%' and '%2%'", a.OrderId(),
                        b.OrderId());
    }
    if (a.Name() != b.Name()) {
        return Mismatch(mismatchDetails_, L"Name mismatch: '%1%' and '%2%'", std::wstring(a.Name()),
                        std::wstring(b.Name()));
    }
    if (!tools::CompareRuleActions(a.Action(), b.Action(), mismatchDetails_)) {
        return false;
    }
    if (a.CreationType() != b.CreationType()) {
        return Mismatch(mismatchDetails_, L"'CreationType' mismatch: '%1%' and '%2%'",
                        std::wstring(a.CreationType()), std::wstring(b.CreationType()));
    }
    if (a.IsActive() != b.IsActive()) {
        return Mismatch(mismatchDetails_, L"'IsActive' mismatch: '%1%' and '%2%'", a.IsActive(),
                        b.IsActive());
    }
    return true;
}

// Network sides, services and schedules.
bool XmlRuleStrictComparator::CompareConditions() {
    const Sarvo::ConditionSet& a = first_->ConditionSet();
    const Sarvo::ConditionSet& b = second_->ConditionSet();
    return tools::CompareNetworkSides(a.Source(), b.Source(), L"Source", mismatchDetails_) &&
           tools::CompareNetworkSides(a.Destination(), b.Destination(), L"Destination",
                                      mismatchDetails_) &&
           tools::CompareServiceLists(a, b, mismatchDetails_) &&
           tools::CompareScheduleLists(a, b, mismatchDetails_);
}

}  // namespace fwcommon
