// Runs in a process of its own: the generator of named-object internal
// numbers is process-wide and only its first creator fixes its range.

#include <gtest/gtest.h>

#include <fwcommon/Context.h>
#include <fwcommon/CreateNamedObject.h>

namespace fwcommon::test {
namespace {

TEST(ContextLowNumbering, ModeTwoBeforeTheFirstDocumentStartsNumbersAtOne) {
    Context context;
    context.SetOperationalMode(eLowNumberingMode);
    context.AppendXmlReader(L"a.xml", {}, User, {{eIpAddressObject, Context::Modes::eEditable}},
                            L"");
    EXPECT_EQ(
        1u, context.CreateNamedObject(L"a.xml", L"first", L"", eIpAddressObject)->GetIdentifier());
    // The range is fixed now: a later mode changes nothing.
    context.SetOperationalMode(eStandardMode);
    Context other;
    other.AppendXmlReader(L"b.xml", {}, User, {}, L"");
    EXPECT_EQ(2u, CreateNamedObject(L"second", L"", eIpAddressObject, User)->GetIdentifier());
}

}  // namespace
}  // namespace fwcommon::test
