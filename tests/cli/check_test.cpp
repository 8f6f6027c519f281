// fwpolicy check: summaries, diagnostics and exit statuses.

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace fwcommon::test
