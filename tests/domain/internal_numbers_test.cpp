// The process-wide generator of named-object internal numbers is created
// once per process, so this test runs in a process of its own.

#include <gtest/gtest.h>

#include <fwcommon/CreateNamedObject.h>
#include "domain/NamedObjectNumbers.h"

namespace fwcommon {
namespace {

TEST(InternalNumbersTest, FirstCreatorFixesTheRangeAndIsNeverReplaced) {
    ASSERT_TRUE(EnsureNamedObjectNumbers(1000000));
    EXPECT_FALSE(EnsureNamedObjectNumbers(1));
    // The free factory would create the range from 1; the existing one stays.
    auto first = CreateNamedObject(L"a", L"", eIpAddressObject, User);
    EXPECT_EQ(1000000u, first->GetIdentifier());
    auto given = CreateNamedObject(1000001ul, L"b", L"", eIpAddressObject, User);
    auto next = CreateNamedObject(L"c", L"", eIpAddressObject, User);
    EXPECT_EQ(1000002u, next->GetIdentifier());
    EXPECT_EQ(1000003u, GenerateNamedObjectNumber());
    MarkNamedObjectNumberBusy(1000004);
    EXPECT_EQ(1000005u, GenerateNamedObjectNumber());
}

}  // namespace
}  // namespace fwcommon
