#pragma once

#include <string>

namespace fwcommon::tools {

// Compares two lists member by member in order with a condition comparison
// (first, second, context name, details) and stops at the first unequal
// pair. Only the common length is visited; callers compare the sizes first.
template <typename Sequence, typename Compare>
bool ComparePairwise(const Sequence& first, const Sequence& second, const std::wstring& context,
                     std::wstring& details, Compare compare) {
    auto a = first.begin();
    auto b = second.begin();
    for (; a != first.end() && b != second.end(); ++a, ++b) {
        if (!compare(&*a, &*b, context, details)) {
            return false;
        }
    }
    return true;
}

}  // namespace fwcommon::tools
