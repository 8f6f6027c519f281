// One-call strict comparison of two rules.

#include <fwcommon/XmlRuleStrictComparator.h>
#include <fwcommon/XmlRulesStrictCompare.h>

namespace fwcommon {

bool XmlRulesStrictCompare(const std::shared_ptr<Sarvo::Rule>& first,
                           const std::shared_ptr<Sarvo::Rule>& second) {
    return XmlRuleStrictComparator(first, second).IsEqual();
}

bool XmlRulesStrictCompare(const std::shared_ptr<Sarvo::Rule>& first,
                           const std::shared_ptr<Sarvo::Rule>& second,
                           std::wstring& mismatchDetails) {
    XmlRuleStrictComparator comparator(first, second);
    const bool equal = comparator.IsEqual();
    mismatchDetails = comparator.GetMismatchDetails();
    return equal;
}

}  // namespace fwcommon
