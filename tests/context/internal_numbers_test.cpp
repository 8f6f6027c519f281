// Runs in a process of its own: the generator of named-object internal
// numbers is process-wide and only its first creator fixes its range.

#include <gtest/gtest.h>

#include <fwcommon/Context.h>
#include <fwcommon/CreateNamedObject.h>

namespace fwcommon::test {
namespace {

TEST(ContextInternalNumbers, FirstAppendedDocumentStartsNumbersAtTheContextBase) {
    Context context;
    context.AppendXmlReader(L"a.xml", {}, User, {}, L"");
    EXPECT_EQ(1000000u, CreateNamedObject(L"first", L"", eIpAddressObject, User)->GetIdentifier());

    Context second;
    second.AppendXmlReader(L"b.xml", {}, User, {}, L"");
    EXPECT_EQ(1000001u, CreateNamedObject(L"second", L"", eIpAddressObject, User)->GetIdentifier());
}

}  // namespace
}  // namespace fwcommon::test
