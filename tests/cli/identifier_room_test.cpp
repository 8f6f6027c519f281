// Whether a creation type's identifier range holds a policy's rules, and
// what the tool says when it does not.

#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "policy/IdentifierRoom.h"

namespace fwcommon::test {
namespace {

using fwpolicy::CreationTypeCounts;

TEST(IdentifierRoom, ARangeHoldsAsManyRulesAsItHasIdentifiersAndNotOneMore) {
    const struct {
        CreationTypeCounts counts;
        const char* expected;
    } rows[] = {
        {{}, ""},
        {{{Generated, 100000}, {Policy, 100000}, {User, 5}}, ""},
        {{{Generated, 100001}},
         "100001 generated rules, more than the 100000 identifiers of their creation type "
         "(100001 to 200000)"},
        {{{User, 3}, {Policy, 100001}},
         "100001 policy rules, more than the 100000 identifiers of their creation type "
         "(200001 to 300000)"},
        {{{User, 1999700000}}, ""},
        {{{User, 1999700001}},
         "1999700001 user rules, more than the 1999700000 identifiers of their creation type "
         "(300001 to 2000000000)"},
        {{{Post, 2294967295}}, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.expected);
        EXPECT_EQ(row.expected, fwpolicy::RulesBeyondTheirIdentifiers(row.counts));
    }
}

TEST(IdentifierRoom, ANewRuleWithoutAnIdentifierNamesItsRange) {
    EXPECT_EQ("no identifier is left for a new policy rule: 200001 to 300000 are all taken",
              fwpolicy::NoIdentifierLeft(Policy));
    EXPECT_EQ("no identifier is left for a new post rule: 2000000001 to 4294967295 are all taken",
              fwpolicy::NoIdentifierLeft(Post));
}

TEST(IdentifierRoom, AShortageTheRulesDoNotExplainKeepsTheLibrarysMessage) {
    const std::out_of_range error("invalid vector<T> subscript");
    const std::string empty =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<sv:Policy xmlns:sv=\"urn:fwcommon:policy:rules\"><Rules/><Properties>"
        "<Version>1.0</Version><IssueDateTime>2026-12-08T16:46:01Z</IssueDateTime>"
        "<RollbackPeriod>900</RollbackPeriod></Properties></sv:Policy>";
    for (const std::string& text : {empty, std::string("not a policy")}) {
        SCOPED_TRACE(text);
        const std::vector<unsigned char> bytes(text.begin(), text.end());
        EXPECT_STREQ("invalid vector<T> subscript",
                     fwpolicy::IdentifierShortage(bytes, error).what());
    }
}

}  // namespace
}  // namespace fwcommon::test
