#pragma once

#include <optional>
#include <string>

#include "compare/MismatchText.h"

namespace fwcommon::tools {

// One step of a kind-by-kind condition comparison.
//
// Both conditions of kind Kind: the result of compareValues on the two.
// Exactly one of kind Kind: the kind-mismatch message (pattern filled with
// the context name) and false. Neither: no result, the caller tries the
// next kind.
template <typename Kind, typename Base, typename CompareValues>
std::optional<bool> CompareIfKind(const Base* first, const Base* second,
                                  const wchar_t* kindMismatchPattern, const std::wstring& context,
                                  std::wstring& details, CompareValues compareValues) {
    const Kind* a = dynamic_cast<const Kind*>(first);
    const Kind* b = dynamic_cast<const Kind*>(second);
    if (a == nullptr && b == nullptr) {
        return std::nullopt;
    }
    if (a == nullptr || b == nullptr) {
        return Mismatch(details, kindMismatchPattern, context);
    }
    return compareValues(*a, *b);
}

}  // namespace fwcommon::tools
