// fwpolicy show, version and domains on the example policy.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/RunTool.h"

namespace fwcommon::test {
namespace {

TEST(FwpolicyShow, ExampleAsTable) {
    const ToolResult r = RunFwpolicy({"show", "examples/policy.xml"});
    EXPECT_EQ(0, r.exitStatus) << r.err;
    EXPECT_EQ(Golden("show-example.out", r.out), r.out);
}

TEST(FwpolicyShow, OneSectionAsJson) {
    const ToolResult r = RunFwpolicy({"show", "examples/policy.xml", "--section", "nat", "--json"});
    ASSERT_EQ(0, r.exitStatus) << r.err;
    EXPECT_EQ(Golden("show-nat.json", r.out), r.out);
    const auto json = nlohmann::json::parse(r.out);
    ASSERT_EQ(2u, json["nat"].size());
    EXPECT_EQ("Office LAN", json["nat"][0]["source"]["hosts"][0]["object"]["name"])
        << "references carry the object's name";
    EXPECT_FALSE(json.contains("local"));
}

TEST(FwpolicyShow, BadSectionIsAUsageErrorAndBadFileAFailure) {
    EXPECT_EQ(2, RunFwpolicy({"show", "examples/policy.xml", "--section", "lan"}).exitStatus);
    const ToolResult r = RunFwpolicy({"show", "tests/data/cli/lowercase-action.xml"});
    EXPECT_EQ(1, r.exitStatus);
    EXPECT_EQ(Golden("check-lowercase-action.err", r.err), r.err);
}

TEST(FwpolicyShow, AnObjectsFileThatCannotBeLoadedIsAFailure) {
    const ToolResult invalid = RunFwpolicy(
        {"show", "examples/policy.xml", "--objects", "tests/data/cli/lowercase-action.xml"});
    EXPECT_EQ(1, invalid.exitStatus);
    EXPECT_TRUE(invalid.out.empty()) << invalid.out;
    EXPECT_NE(std::string::npos, invalid.err.find("lowercase-action.xml")) << invalid.err;
    const ToolResult missing = RunFwpolicy(
        {"show", "examples/policy.xml", "--objects", "tests/data/cli/no-such-objects.xml"});
    EXPECT_EQ(1, missing.exitStatus);
    EXPECT_TRUE(missing.out.empty()) << missing.out;
    EXPECT_NE(std::string::npos, missing.err.find("no-such-objects.xml")) << missing.err;
}

TEST(FwpolicyScan, VersionAndDomains) {
    const ToolResult version = RunFwpolicy({"version", "examples/policy.xml"});
    EXPECT_EQ(0, version.exitStatus);
    EXPECT_EQ("1.0\n", version.out);
    const ToolResult domains = RunFwpolicy({"domains", "examples/policy.xml"});
    EXPECT_EQ(0, domains.exitStatus);
    EXPECT_EQ("backup.example.com\nwww.example.com\n", domains.out);
    EXPECT_EQ(1, RunFwpolicy({"version", "README.md"}).exitStatus);
}

}  // namespace
}  // namespace fwcommon::test
