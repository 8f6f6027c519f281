// fwpolicy check --json: one report for all files (its text is golden in
// show_test.cpp), valid only when every file is, and standard input named
// as given.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

TEST(FwpolicyCheck, JsonIsValidOnlyWhenEveryFileIsAndNamesStandardInputAsGiven) {
    const ToolResult invalid = RunFwpolicy(
        {"check", "--json", "examples/policy.xml", "tests/data/cli/lowercase-action.xml"});
    EXPECT_EQ(1, invalid.exitStatus);
    EXPECT_FALSE(nlohmann::json::parse(invalid.out).at("valid"));
    const ToolResult valid = RunFwpolicy({"check", "--json", "examples/policy.xml"});
    EXPECT_EQ(0, valid.exitStatus);
    EXPECT_TRUE(nlohmann::json::parse(valid.out).at("valid"));
    const ToolResult input = RunFwpolicyWithInput(
        {"check", "--json", "-"}, ToString(ReadBytes(SourcePath("examples/policy.xml"))));
    EXPECT_EQ("-", nlohmann::json::parse(input.out)["files"][0]["file"]);
}

}  // namespace
}  // namespace fwcommon::test
