#pragma once

// Table-driven checking of condition comparisons.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace fwcommon::test {

// Two conditions and the text their comparison must give; an empty text
// means the two are equal.
template <typename Base>
struct ConditionRow {
    const char* name;
    std::shared_ptr<Base> first;
    std::shared_ptr<Base> second;
    std::wstring expected;
};

// What the details hold before a comparison: equal conditions must leave it.
inline const std::wstring kUntouched = L"<untouched>";

template <typename Base, typename Compare>
void CheckRows(const std::vector<ConditionRow<Base>>& rows, Compare compare,
               const std::wstring& context) {
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::wstring details = kUntouched;
        const bool equal = compare(row.first.get(), row.second.get(), context, details);
        if (row.expected.empty()) {
            EXPECT_TRUE(equal);
            EXPECT_EQ(details, kUntouched);
        } else {
            EXPECT_FALSE(equal);
            EXPECT_EQ(details, row.expected);
        }
    }
}

}  // namespace fwcommon::test
