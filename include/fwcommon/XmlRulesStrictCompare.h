#pragma once

#include <memory>
#include <string>

#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// True when the two rules are equal under the strict comparison of
// XmlRuleStrictComparator. Neither pointer may be null; the rules are only
// read. Nothing is thrown for malformed rules. Any thread may call it on
// rules no other thread is changing.
FWCOMMON_EXPORT bool XmlRulesStrictCompare(const std::shared_ptr<Sarvo::Rule>& first,
                                           const std::shared_ptr<Sarvo::Rule>& second);

// As above, and mismatchDetails receives the comparator's text: the first
// difference after false, empty after true.
FWCOMMON_EXPORT bool XmlRulesStrictCompare(const std::shared_ptr<Sarvo::Rule>& first,
                                           const std::shared_ptr<Sarvo::Rule>& second,
                                           std::wstring& mismatchDetails);

}  // namespace fwcommon
