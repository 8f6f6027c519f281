// A rule whose order id is the largest a document can hold: the process-wide
// counters stop there instead of wrapping, so a new rule is refused rather
// than numbered below every other rule. This program has its own process:
// the counters it drives to their end are shared by every reader in it.

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/RunTool.h"
#include "store/StoreTestSupport.h"

namespace fwcommon::test {
namespace {

using ::testing::HasSubstr;

constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();

Sarvo::Filter DropFilter() {
    return Sarvo::Filter(Sarvo::ActionTypes::Drop);
}

TEST(OrderIdLimit, CountersStopAtTheLargestOrderId) {
    EXPECT_EQ(kLargest, XmlReader::UpdateOrderId(kLargest, Generated));
    EXPECT_EQ(kLargest, XmlReader::UpdateOrderId(5, Generated));
    EXPECT_THROW(XmlReader::createOrderId(Generated), std::overflow_error);
    EXPECT_THROW(XmlReader::createOrderId(Generated), std::overflow_error);
    EXPECT_EQ(kLargest, XmlReader::UpdateOrderId(kLargest - 1, Generated));
}

TEST(OrderIdLimit, CreateRuleRefusesAndLeavesTheSectionAsItWas) {
    for (const int position : {-1, 0}) {
        SCOPED_TRACE(position);
        auto reader =
            MakeReader(PolicyXml(RuleXml("LocalRule", 300001, 300001, "first") +
                                 RuleXml("LocalRule", 300002, kLargest, "last") +
                                 RuleXml("LocalRule", 2000000001, 300002, "post", "Post")));
        const auto before = OrderIds(reader->GetRules(eLocalRules));
        EXPECT_EQ(nullptr, reader->CreateRule(eLocalRules, User, L"new", DropFilter(), position));
        EXPECT_EQ(before, OrderIds(reader->GetRules(eLocalRules)));
        EXPECT_EQ((std::vector<std::wstring>{L"first", L"post", L"last"}),
                  Names(reader->GetRules(eLocalRules)));
        EXPECT_FALSE(reader->HasChanges());
        // The counters of other creation types still hand out order ids.
        EXPECT_NE(nullptr, reader->CreateRule(eLocalRules, Policy, L"policy", DropFilter(), -1));
    }
}

TEST(OrderIdLimit, RuleAddFailsWithAClearErrorAndLeavesTheFile) {
    TempDir dir;
    const auto file = dir.path() / "policy.xml";
    const std::vector<unsigned char> bytes =
        PolicyXml(RuleXml("LocalRule", 300001, kLargest, "last"));
    WriteBytes(file, bytes);
    const ToolResult result = RunFwpolicy(
        {"rule", "add", "--section", "local", "--name", "new", "--action", "drop", file.string()});
    EXPECT_EQ(1, result.exitStatus);
    EXPECT_THAT(result.err, HasSubstr("no order id is left after 9223372036854775807"));
    EXPECT_EQ(bytes, ReadBytes(file));
}

// Two documents whose local rules both hold the largest order id: the merge
// cannot give the second one an order id of its own.
TEST(OrderIdLimit, MergeOfTwoRulesAtTheLargestOrderIdFailsCleanly) {
    TempDir dir;
    const auto a = dir.path() / "a.xml";
    const auto b = dir.path() / "b.xml";
    const auto merged = dir.path() / "merged.xml";
    WriteBytes(a, PolicyXml(RuleXml("LocalRule", 300001, kLargest, "from a")));
    WriteBytes(b, PolicyXml(RuleXml("LocalRule", 300002, kLargest, "from b")));
    const ToolResult result = RunFwpolicy({"merge", "-o", merged.string(), a.string(), b.string()});
    EXPECT_EQ(1, result.exitStatus);
    EXPECT_THAT(result.err, HasSubstr("rule 'from b' needs an order id after 9223372036854775807"));
    EXPECT_FALSE(std::filesystem::exists(merged));
}

}  // namespace
}  // namespace fwcommon::test
