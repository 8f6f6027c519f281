// fwpolicy show, version and domains on the example policy, and what every
// read verb prints, text and JSON, on the example and on a hand-written
// policy that holds every kind of condition, compared with golden files.

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/RunTool.h"

namespace fwcommon::test {
namespace {

const char* const kExample = "examples/policy.xml";
const char* const kEveryKind = "tests/data/cli/every-kind.xml";

// Outputs other tests do not already compare with a golden file. Each run
// succeeds but diff of two different files (exit 1) and query of a flow
// whose answer depends on what the command line leaves open (exit 3).
TEST(FwpolicyGolden, EveryReadVerbInTextAndJson) {
    const struct Row {
        std::vector<std::string> arguments;
        std::string golden;
        int exitStatus;
    } rows[] = {
        {{"check", kEveryKind}, "check-every-kind.out", 0},
        {{"check", kEveryKind, "--json"}, "check-every-kind.json", 0},
        {{"show", kEveryKind}, "show-every-kind.out", 0},
        {{"version", kEveryKind}, "version-every-kind.out", 0},
        {{"domains", kEveryKind}, "domains-every-kind.out", 0},
        {{"objects", kEveryKind}, "objects-every-kind.out", 0},
        {{"object", "show", kExample, "--name", "Mail"}, "object-show-mail.out", 0},
        {{"object", "show", kEveryKind, "--name", "Head office"}, "object-show-head-office.out", 0},
        {{"object", "show", kEveryKind, "--name", "Head office", "--json"},
         "object-show-head-office.json",
         0},
        {{"where-used", kEveryKind, "--object", "Office LAN"}, "where-used-every-kind.out", 0},
        {{"where-used", kEveryKind, "--object", "Office LAN", "--json"},
         "where-used-every-kind.json",
         0},
        {{"unused", kExample}, "unused-example.out", 0},
        {{"unused", kEveryKind, "--json"}, "unused-every-kind.json", 0},
        {{"unused", kExample, "--json"}, "unused-example.json", 0},
        {{"option", "list", kExample}, "option-list-example.out", 0},
        {{"option", "list", kExample, "--json"}, "option-list-example.json", 0},
        {{"option", "list", kEveryKind, "--json"}, "option-list-every-kind.json", 0},
        {{"rule", "show", kEveryKind, "--id", "200002"}, "rule-show-every-kind.out", 0},
        {{"rule", "show", kEveryKind, "--id", "200002", "--json"}, "rule-show-every-kind.json", 0},
        {{"rule", "show", kExample, "--id", "200001", "--json"}, "rule-show-example.json", 0},
        {{"lint", kEveryKind}, "lint-every-kind.out", 0},
        {{"lint", kEveryKind, "--json"}, "lint-every-kind.json", 0},
        {{"diff", kExample, kEveryKind}, "diff-example-every-kind.out", 1},
        {{"diff", kExample, kEveryKind, "--json"}, "diff-example-every-kind.json", 1},
        {{"diff", "tests/data/cli/edit-base.xml", "tests/data/cli/edit-changed.xml", "--json"},
         "diff-base-changed.json",
         1},
        {{"query", kExample, "--from", "192.168.10.5", "--to", "198.51.100.7", "--service",
          "tcp/443", "--all", "--explain"},
         "query-example.out",
         3},
        {{"query", kExample, "--from", "192.168.10.5", "--to", "198.51.100.7", "--service",
          "tcp/443", "--all", "--json"},
         "query-example.json",
         3},
        {{"query", kEveryKind, "--from", "10.1.0.5", "--to", "192.168.10.7", "--service", "tcp/22",
          "--in-interface", "eth0", "--at", "2026-12-07T10:00:00", "--all", "--explain"},
         "query-every-kind.out",
         0},
        {{"query", kEveryKind, "--from", "10.1.0.5", "--to", "192.168.10.7", "--service", "tcp/22",
          "--in-interface", "eth0", "--at", "2026-12-07T10:00:00", "--all", "--json"},
         "query-every-kind.json",
         0},
        // An edit's dry run prints what diff would report and writes nothing.
        {{"rule", "add", kEveryKind, "--section", "transit", "--name", "SSH in", "--action", "pass",
          "--source", "10.0.0.0/8", "--service", "tcp/22", "--dry-run"},
         "rule-add-every-kind.out",
         0},
        {{"rule", "set", kEveryKind, "--id", "200002", "--action", "drop", "--service",
          "udp/1024-65535:53", "--dry-run"},
         "rule-set-every-kind.out",
         0},
        {{"rule", "remove", kEveryKind, "--section", "vpn", "--index", "0", "--dry-run"},
         "rule-remove-every-kind.out",
         0},
        {{"rule", "disable", kEveryKind, "--section", "vpn", "--index", "0", "--dry-run"},
         "rule-disable-every-kind.out",
         0},
        {{"rule", "move", kEveryKind, "--section", "transit", "--index", "0", "--by", "2",
          "--dry-run"},
         "rule-move-every-kind.out",
         0},
        {{"object", "add", kEveryKind, "--type", "ip", "--name", "Lab", "--member", "10.9.0.0/16",
          "--exclude", "10.9.9.9", "--dry-run"},
         "object-add-every-kind.out",
         0},
        {{"object", "set", kEveryKind, "--name", "Web", "--add", "tcp/8080", "--remove", "udp/443",
          "--dry-run"},
         "object-set-every-kind.out",
         0},
        {{"object", "rename", kEveryKind, "--name", "Office LAN", "--to", "LAN", "--dry-run"},
         "object-rename-every-kind.out",
         0},
        {{"object", "remove", kEveryKind, "--name", "Nightly backup window", "--dry-run"},
         "object-remove-every-kind.out",
         0},
        {{"option", "set", kEveryKind, "LogLevel", "3", "--dry-run"},
         "option-set-every-kind.out",
         0},
        {{"option", "unset", kEveryKind, "LogLevel", "--dry-run"},
         "option-unset-every-kind.out",
         0},
        {{"renumber", "tests/data/cli/lint-findings.xml", "--dry-run"},
         "renumber-lint-findings.out",
         0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.arguments));
        const ToolResult r = RunFwpolicy(row.arguments);
        EXPECT_EQ(row.exitStatus, r.exitStatus) << r.err;
        EXPECT_EQ(Golden(row.golden, r.out), r.out);
    }
}

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
