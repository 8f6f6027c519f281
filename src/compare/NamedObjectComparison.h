#pragma once

#include <string>

#include "compare/MismatchText.h"
#include "compare/PairwiseComparison.h"

namespace fwcommon::tools {

// Compares the sizes of two member lists; "Inclusion" or "Exclusion" names
// them in the message.
template <typename Sequence>
bool CompareMemberCounts(const Sequence& first, const Sequence& second, const wchar_t* pattern,
                         std::wstring& details) {
    if (first.size() == second.size()) {
        return true;
    }
    return Mismatch(details, pattern, first.size(), second.size());
}

// The one algorithm behind every named-object comparator: Id, Name, then
// the Inclusion and the Exclusion members, each list by count and then
// pairwise with the kind's condition comparison. Lists of different length
// are a difference before any member is read, so neither list is read past
// its end.
template <typename Object, typename CompareCondition>
bool CompareNamedObjectFields(const Object& first, const Object& second,
                              CompareCondition compareCondition, std::wstring& details) {
    if (first.Id() != second.Id()) {
        return Mismatch(details, L"Id mismatch: '%1%', '%2%'.", first.Id(), second.Id());
    }
    if (first.Name() != second.Name()) {
        return Mismatch(details, L"Names mismatch: '%1%', '%2%'.", std::wstring(first.Name()),
                        std::wstring(second.Name()));
    }
    return CompareMemberCounts(first.Inclusion(), second.Inclusion(),
                               L"Inclusion sizes mismatch: '%1%', '%2%'.", details) &&
           ComparePairwise(first.Inclusion(), second.Inclusion(), L"Inclusion", details,
                           compareCondition) &&
           CompareMemberCounts(first.Exclusion(), second.Exclusion(),
                               L"Exclusion sizes mismatch: '%1%', '%2%'.", details) &&
           ComparePairwise(first.Exclusion(), second.Exclusion(), L"Exclusion", details,
                           compareCondition);
}

}  // namespace fwcommon::tools
