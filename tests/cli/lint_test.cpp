// fwpolicy lint: findings, JSON, shared objects and exit statuses.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/PolicyText.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

const char kFindings[] = "tests/data/cli/lint-findings.xml";

TEST(FwpolicyLint, ExamplePolicyHasOnlyWarningsAndExitsWithZero) {
    const ToolResult r = RunFwpolicy({"lint", "examples/policy.xml"});
    EXPECT_EQ(0, r.exitStatus) << r.err;
    EXPECT_EQ(Golden("lint-example.out", r.out), r.out);
    EXPECT_EQ("", r.err);
}

// Read from standard input, findings named the file "-"; names reached the
// terminal unescaped.
TEST(FwpolicyLint, StandardInputIsNamedAndNamesAreEscaped) {
    std::string policy = ToString(ReadBytes(SourcePath(kFindings)));
    const std::string spare = "<Name>Spare</Name>";
    policy.replace(policy.find(spare), spare.size(),
                   "<Name>Sp\xc2\x9b"
                   "2Jare</Name>");
    const ToolResult r = RunFwpolicyWithInput({"lint", "-"}, policy);
    EXPECT_EQ(1, r.exitStatus) << r.err;
    EXPECT_EQ(0u, r.out.rfind("standard input: ip object 102 \"Sp\\x9b2Jare\": warning: ", 0))
        << r.out;
    EXPECT_EQ(std::string::npos, r.out.find("\xc2\x9b"));
}

TEST(FwpolicyLint, ErrorsAreListedAndExitWithOne) {
    const ToolResult r = RunFwpolicy({"lint", kFindings});
    EXPECT_EQ(1, r.exitStatus) << r.err;
    EXPECT_EQ(Golden("lint-findings.out", r.out), r.out);
    EXPECT_EQ("", r.err);
}

TEST(FwpolicyLint, JsonCarriesEveryField) {
    const ToolResult r = RunFwpolicy({"lint", "--json", kFindings});
    EXPECT_EQ(1, r.exitStatus) << r.err;
    const auto findings = nlohmann::json::parse(r.out).at("findings");
    ASSERT_EQ(7u, findings.size());
    EXPECT_EQ("ip", findings[0].at("object"));
    EXPECT_EQ(102, findings[0].at("id"));
    EXPECT_EQ("warning", findings[0].at("severity"));
    EXPECT_EQ("identifier-out-of-range", findings[1].at("code"));
    const auto& shadowed = findings[5];
    EXPECT_EQ(kFindings, shadowed.at("file").get<std::string>());
    EXPECT_EQ("shadowed-rule", shadowed.at("code"));
    EXPECT_EQ("error", shadowed.at("severity"));
    EXPECT_EQ("transit", shadowed.at("section"));
    EXPECT_EQ(1, shadowed.at("position")) << "counted from 0, as rule disable --index counts";
    EXPECT_EQ(2, shadowed.at("ruleId"));
    EXPECT_EQ("Let one host browse", shadowed.at("name"));
}

// The translation of a NAT rule is checked as its conditions are.
TEST(FwpolicyLint, NatTranslationToAnImpossibleValueIsAnError) {
    std::string rule = RuleElement("NatRule", 1, 1, "Publish", "User", "Pass", "");
    const std::string filter =
        "<Action xsi:type=\"sv:Filter\"><FilteringAction>Pass</FilteringAction></Action>";
    rule.replace(rule.find(filter), filter.size(),
                 "<Action xsi:type=\"sv:Translation\"><DestinationIp><Value>10.0.0.256</Value>"
                 "</DestinationIp><DestinationPort><Value>70000</Value></DestinationPort>"
                 "</Action>");
    const ToolResult r = RunFwpolicyWithInput({"lint", "-"}, PolicyDocument(rule));
    EXPECT_EQ(1, r.exitStatus) << r.err;
    EXPECT_NE(std::string::npos,
              r.out.find("nat #0 rule 1 \"Publish\": error: invalid-value: translated "
                         "destination address \"10.0.0.256\" does not parse\n"))
        << r.out;
    EXPECT_NE(std::string::npos,
              r.out.find("nat #0 rule 1 \"Publish\": error: invalid-value: translated "
                         "destination port 70000 is outside 0 to 65535\n"))
        << r.out;
}

TEST(FwpolicyLint, RulesSeeTheObjectsFile) {
    const std::string rules = "tests/data/cli/lint-shared-rules.xml";
    const ToolResult alone = RunFwpolicy({"lint", rules});
    EXPECT_EQ(1, alone.exitStatus) << "the object is missing without the objects file";
    const ToolResult shared =
        RunFwpolicy({"lint", rules, "--objects", "tests/data/cli/lint-objects.xml"});
    EXPECT_EQ(0, shared.exitStatus) << shared.err;
    EXPECT_EQ(Golden("lint-shared.out", shared.out), shared.out);
}

TEST(FwpolicyLint, UnloadableFileExitsWithOneAndUsageErrorsWithTwo) {
    const ToolResult missing = RunFwpolicy({"lint", "no/such/file.xml"});
    EXPECT_EQ(1, missing.exitStatus);
    EXPECT_EQ("fwpolicy: no/such/file.xml: cannot read: No such file or directory\n", missing.err);
    EXPECT_EQ(2, RunFwpolicy({"lint"}).exitStatus);
    EXPECT_EQ(2, RunFwpolicy({"lint", "--no-such-flag", kFindings}).exitStatus);
}

}  // namespace
}  // namespace fwcommon::test
