#pragma once

#include <memory>
#include <string>

#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// Strict field-by-field comparison of two rules, with the text of the first
// difference.
//
// IsEqual compares, in this order: RuleId, OrderId, Name, the action (kind,
// then its fields), CreationType, IsActive, the Source and Destination
// sides, the service conditions and the schedule conditions (each list
// pairwise, in document order). The rule kind, Section and Reserved1..3 are
// not compared, so a LocalRule and a VpnRule with the same fields are equal.
//
// After a false result GetMismatchDetails names the difference. One case
// gives false with no text: a network side that is neither a PublicNetwork
// nor a PrivateNetwork on both rules. Nothing is thrown for malformed rules.
//
// The comparator shares ownership of both rules (neither may be null) and
// only reads them. One thread at a time uses a comparator. Copyable.
class FWCOMMON_EXPORT XmlRuleStrictComparator {
public:
    XmlRuleStrictComparator(const std::shared_ptr<Sarvo::Rule>& first,
                            const std::shared_ptr<Sarvo::Rule>& second);

    // Runs the comparison afresh: the details are cleared first.
    bool IsEqual();

    const std::wstring& GetMismatchDetails() const { return mismatchDetails_; }

private:
    bool CompareHeader();
    bool CompareConditions();

    std::shared_ptr<Sarvo::Rule> first_;
    std::shared_ptr<Sarvo::Rule> second_;
    std::wstring mismatchDetails_;
};

}  // namespace fwcommon
