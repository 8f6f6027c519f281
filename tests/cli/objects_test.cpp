// fwpolicy objects, where-used and unused on the example policies.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/RunTool.h"

namespace fwcommon::test {
namespace {

TEST(FwpolicyObjects, ExampleAsTables) {
    const ToolResult r = RunFwpolicy({"objects", "examples/policy.xml"});
    EXPECT_EQ(0, r.exitStatus) << r.err;
    EXPECT_EQ(Golden("objects-example.out", r.out), r.out);
}

TEST(FwpolicyObjects, JsonCountsRulesAndListsEntriesByName) {
    const ToolResult r =
        RunFwpolicy({"objects", "examples/policy.xml", "--type", "ip", "--type", "vpn", "--json"});
    ASSERT_EQ(0, r.exitStatus) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_FALSE(json.contains("service"));
    ASSERT_EQ(3u, json["ip"].size());
    EXPECT_EQ("Office LAN", json["ip"][0]["name"]);
    EXPECT_EQ(5, json["ip"][0]["rules"]) << "five sections refer to the LAN";
    EXPECT_EQ(0, json["ip"][2]["rules"]);
    EXPECT_EQ(nlohmann::json::array({"Office LAN", "LocalHost"}), json["ip"][2]["inclusions"])
        << "system objects and included objects by their names";
    EXPECT_EQ(nlohmann::json::array({"ID 1207"}), json["vpn"][0]["exclusions"]);
    EXPECT_EQ(nlohmann::json::array({"NET 12", "MASK HQ-*", "AllCoordinators"}),
              json["vpn"][0]["inclusions"]);
}

TEST(FwpolicyObjects, UnknownTypeIsAUsageError) {
    EXPECT_EQ(2, RunFwpolicy({"objects", "examples/policy.xml", "--type", "host"}).exitStatus);
}

TEST(FwpolicyWhereUsed, RulesWithPlacesAndDependentObjects) {
    const ToolResult r =
        RunFwpolicy({"where-used", "examples/policy.xml", "--object", "Head office"});
    EXPECT_EQ(0, r.exitStatus) << r.err;
    EXPECT_EQ(Golden("where-used-head-office.out", r.out), r.out);
}

TEST(FwpolicyWhereUsed, InterfaceObjectInASourceSideWithoutDependents) {
    const ToolResult r = RunFwpolicy({"where-used", "examples/policy.xml", "--object", "Inside"});
    ASSERT_EQ(0, r.exitStatus) << r.err;
    EXPECT_NE(std::string::npos, r.out.find("Administration from the LAN  source\n")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("dependent objects (0)\n")) << r.out;
}

TEST(FwpolicyWhereUsed, DependentsAreFoundThroughOtherObjects) {
    // Mail includes Web; nothing includes Mail.
    const ToolResult r = RunFwpolicy({"where-used", "examples/policy.xml", "--object", "Web"});
    ASSERT_EQ(0, r.exitStatus) << r.err;
    EXPECT_NE(std::string::npos, r.out.find("service  200402  Mail\n")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("transit  0  200003  LAN to the Internet  services\n"))
        << r.out;
}

TEST(FwpolicyWhereUsed, ChainsPlacesAndObjectsOfEveryKindWithTheName) {
    // Top excludes Middle, which includes the ip object Base; one rule uses
    // Base on both sides; a service object is called Base too.
    const ToolResult r =
        RunFwpolicy({"where-used", "tests/data/cli/chain.xml", "--object", "Base"});
    EXPECT_EQ(0, r.exitStatus) << r.err;
    EXPECT_EQ(Golden("where-used-chain-base.out", r.out), r.out);
}

TEST(FwpolicyUnused, AnExclusionCountsAsAReference) {
    const ToolResult r = RunFwpolicy({"unused", "tests/data/cli/chain.xml"});
    EXPECT_EQ(0, r.exitStatus) << r.err;
    EXPECT_EQ("tests/data/cli/chain.xml: ip 3 Top\ntests/data/cli/chain.xml: service 1 Base\n",
              r.out);
}

TEST(FwpolicyWhereUsed, UnknownObjectFails) {
    const ToolResult r = RunFwpolicy({"where-used", "examples/policy.xml", "--object", "Nobody"});
    EXPECT_EQ(1, r.exitStatus);
    EXPECT_EQ("fwpolicy: no named object \"Nobody\" in the files given\n", r.err);
    EXPECT_EQ(2, RunFwpolicy({"where-used", "examples/policy.xml"}).exitStatus);
}

TEST(FwpolicyUnused, ObjectsNoRuleAndNoObjectRefersTo) {
    const ToolResult r =
        RunFwpolicy({"unused", "examples/policy.xml", "tests/data/edge-kinds.xml"});
    EXPECT_EQ(0, r.exitStatus) << r.err;
    EXPECT_EQ(Golden("unused-example-edge.out", r.out), r.out);
}

TEST(FwpolicyUnused, UnloadableFileFailsButOthersAreStillListed) {
    const ToolResult r = RunFwpolicy({"unused", "examples/policy.xml", "no/such.xml"});
    EXPECT_EQ(1, r.exitStatus);
    EXPECT_NE(std::string::npos, r.out.find("examples/policy.xml: vpn 300302 Remote staff\n"));
    EXPECT_EQ("fwpolicy: no/such.xml: cannot read: No such file or directory\n", r.err);
}

}  // namespace
}  // namespace fwcommon::test
