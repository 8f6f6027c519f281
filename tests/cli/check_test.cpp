// fwpolicy check: summaries, diagnostics and exit statuses.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

TEST(FwpolicyCheck, ExamplePolicyIsValid) {
    const ToolResult r = RunFwpolicy({"check", "examples/policy.xml"});
    EXPECT_EQ(0, r.exitStatus) << r.err;
    EXPECT_EQ(Golden("check-example.out", r.out), r.out);
    EXPECT_EQ("", r.err);
}

TEST(FwpolicyCheck, InvalidFileGivesPositionedDiagnosticsAndStatusOne) {
    const std::string broken = "tests/data/cli/lowercase-action.xml";
    const ToolResult r = RunFwpolicy({"check", "examples/policy.xml", broken});
    EXPECT_EQ(1, r.exitStatus);
    EXPECT_EQ(Golden("check-example.out", r.out), r.out) << "valid files are still reported";
    EXPECT_EQ(Golden("check-lowercase-action.err", r.err), r.err);
}

TEST(FwpolicyCheck, UnreadableFileIsReported) {
    const ToolResult r = RunFwpolicy({"check", "no/such/file.xml"});
    EXPECT_EQ(1, r.exitStatus);
    EXPECT_EQ("fwpolicy: no/such/file.xml: cannot read: No such file or directory\n", r.err);
}

TEST(FwpolicyCheck, UsageErrorsExitWithTwo) {
    EXPECT_EQ(2, RunFwpolicy({"check"}).exitStatus);
    EXPECT_EQ(2, RunFwpolicy({}).exitStatus);
    EXPECT_EQ(2, RunFwpolicy({"check", "--no-such-flag", "x"}).exitStatus);
}

TEST(FwpolicyCheck, HelpExitsWithZero) {
    const ToolResult r = RunFwpolicy({"check", "--help"});
    EXPECT_EQ(0, r.exitStatus);
    EXPECT_NE(std::string::npos, r.out.find("FILE"));
}

// One report for all files, in the order given: counts of a valid file,
// positioned diagnostics of an invalid one, the reason of one not read.
TEST(FwpolicyCheck, JsonReportsEachFileInOrder) {
    const ToolResult r =
        RunFwpolicy({"check", "--json", "tests/data/cli/every-kind.xml",
                     "tests/data/cli/lowercase-action.xml", "no/such/file.xml", "-j", "2"});
    EXPECT_EQ(1, r.exitStatus);
    EXPECT_EQ("", r.err) << "everything is in the report";
    EXPECT_EQ(Golden("check-files.json", r.out), r.out);
    const auto report = nlohmann::json::parse(r.out);
    EXPECT_FALSE(report.at("valid"));
    const auto& files = report.at("files");
    ASSERT_EQ(3u, files.size());
    EXPECT_EQ(6, files[0]["rules"]["transit"]);
    EXPECT_EQ(2, files[0]["objects"]["schedule"]);
    EXPECT_EQ(11, files[1]["diagnostics"][0]["line"]);
    EXPECT_EQ(48, files[1]["diagnostics"][0]["column"]);
    EXPECT_EQ(nullptr, files[2]["diagnostics"][0]["line"]);
    EXPECT_EQ("cannot read: No such file or directory", files[2]["diagnostics"][0]["message"]);

    const ToolResult valid = RunFwpolicy({"check", "--json", "examples/policy.xml"});
    EXPECT_EQ(0, valid.exitStatus);
    EXPECT_TRUE(nlohmann::json::parse(valid.out).at("valid"));
    const ToolResult input = RunFwpolicyWithInput(
        {"check", "--json", "-"}, ToString(ReadBytes(SourcePath("examples/policy.xml"))));
    EXPECT_EQ("-", nlohmann::json::parse(input.out)["files"][0]["file"]);
}

}  // namespace
}  // namespace fwcommon::test
