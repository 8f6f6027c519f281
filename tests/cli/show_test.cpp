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

// What every read verb prints, text and JSON, and what an edit's dry run
// prints, compared with golden files. Each run succeeds but lint of errors
// and a check of an invalid file (exit 1), diff of two different files
// (exit 1) and query of a flow whose answer depends on what the command
// line leaves open (exit 3). Standard error is empty unless the row names
// its golden file.
TEST(FwpolicyGolden, EveryReadVerbInTextAndJson) {
    const char* const kBase = "tests/data/cli/edit-base.xml";
    const char* const kChanged = "tests/data/cli/edit-changed.xml";
    const char* const kBroken = "tests/data/cli/lowercase-action.xml";
    const char* const kFindings = "tests/data/cli/lint-findings.xml";
    const char* const kBranch = "tests/data/cli/query-branch.xml";
    const struct Row {
        std::vector<std::string> arguments;
        std::string golden;
        int exitStatus = 0;
        std::string goldenErr = "";
    } rows[] = {
        {{"check", kExample}, "check-example.out"},
        {{"check", kExample, kBroken}, "check-example.out", 1, "check-lowercase-action.err"},
        {{"check", "--json", kEveryKind, kBroken, "no/such/file.xml", "-j", "2"},
         "check-files.json",
         1},
        {{"check", kEveryKind}, "check-every-kind.out"},
        {{"check", kEveryKind, "--json"}, "check-every-kind.json"},
        {{"show", kExample}, "show-example.out"},
        {{"show", kExample, "--json"}, "show-example.json"},
        {{"show", kExample, "--section", "nat", "--json"}, "show-nat.json"},
        {{"show", kBroken}, "", 1, "check-lowercase-action.err"},
        {{"show", kExample, "--objects", kBroken}, "", 1, "check-lowercase-action.err"},
        // Conditions of a bare base type hold no value: show aborted on them.
        {{"show", "tests/data/edge-kinds.xml", "--json"}, "show-edge-kinds.json"},
        {{"show", kEveryKind}, "show-every-kind.out"},
        {{"show", kEveryKind, "--json"}, "show-every-kind.json"},
        {{"version", kEveryKind}, "version-every-kind.out"},
        {{"domains", kEveryKind}, "domains-every-kind.out"},
        {{"objects", kExample}, "objects-example.out"},
        {{"objects", kExample, "--json"}, "objects-example.json"},
        {{"objects", kEveryKind}, "objects-every-kind.out"},
        {{"objects", kEveryKind, "--json"}, "objects-every-kind.json"},
        {{"object", "show", kExample, "--name", "Mail"}, "object-show-mail.out"},
        {{"object", "show", kExample, "--name", "Mail", "--json"}, "object-show-mail.json"},
        {{"object", "show", kEveryKind, "--name", "Head office"}, "object-show-head-office.out"},
        {{"object", "show", kEveryKind, "--name", "Head office", "--json"},
         "object-show-head-office.json"},
        {{"where-used", kExample, "--object", "Head office"}, "where-used-head-office.out"},
        // An interface object in a source side, without dependents; Mail
        // includes Web, and nothing includes Mail.
        {{"where-used", kExample, "--object", "Inside"}, "where-used-inside.out"},
        {{"where-used", kExample, "--object", "Web"}, "where-used-web.out"},
        {{"where-used", kExample, "--object", "Office LAN", "--json"},
         "where-used-office-lan.json"},
        // Top excludes Middle, which includes the ip object Base; one rule
        // uses Base on both sides; a service object is called Base too.
        {{"where-used", "tests/data/cli/chain.xml", "--object", "Base"},
         "where-used-chain-base.out"},
        {{"where-used", kEveryKind, "--object", "Office LAN"}, "where-used-every-kind.out"},
        {{"where-used", kEveryKind, "--object", "Office LAN", "--json"},
         "where-used-every-kind.json"},
        {{"unused", kExample}, "unused-example.out"},
        {{"unused", kExample, "tests/data/edge-kinds.xml"}, "unused-example-edge.out"},
        {{"unused", kEveryKind, "--json"}, "unused-every-kind.json"},
        {{"unused", kExample, "--json"}, "unused-example.json"},
        {{"option", "list", kExample}, "option-list-example.out"},
        {{"option", "list", kExample, "--json"}, "option-list-example.json"},
        {{"option", "list", kEveryKind, "--json"}, "option-list-every-kind.json"},
        {{"rule", "show", kEveryKind, "--id", "200002"}, "rule-show-every-kind.out"},
        {{"rule", "show", kEveryKind, "--id", "200002", "--json"}, "rule-show-every-kind.json"},
        {{"rule", "show", kExample, "--id", "200001"}, "rule-show-example.out"},
        {{"rule", "show", kExample, "--id", "200001", "--json"}, "rule-show-example.json"},
        {{"rule", "show", kExample, "--section", "transit", "--index", "2"}, "rule-show-post.out"},
        {{"lint", kExample}, "lint-example.out"},
        {{"lint", "--json", kExample}, "lint-example.json"},
        {{"lint", kFindings}, "lint-findings.out", 1},
        {{"lint", "--json", kFindings}, "lint-findings.json", 1},
        {{"lint", "tests/data/cli/lint-shared-rules.xml", "--objects",
          "tests/data/cli/lint-objects.xml"},
         "lint-shared.out"},
        {{"lint", kEveryKind}, "lint-every-kind.out"},
        {{"lint", kEveryKind, "--json"}, "lint-every-kind.json"},
        {{"diff", kBase, kChanged}, "diff-base-changed.out", 1},
        {{"diff", kBase, kChanged, "--json"}, "diff-base-changed.json", 1},
        {{"diff", "--stat", kBase, kChanged}, "diff-base-changed-stat.out", 1},
        {{"diff", "-u", kBase, kChanged}, "diff-base-changed-unified.out", 1},
        {{"diff", kExample, kEveryKind}, "diff-example-every-kind.out", 1},
        {{"diff", kExample, kEveryKind, "--json"}, "diff-example-every-kind.json", 1},
        {{"query", kExample, "--from", "192.168.10.5", "--to", "198.51.100.7", "--service",
          "tcp/443", "--all", "--explain"},
         "query-example.out",
         3},
        {{"query", kExample, "--from", "192.168.10.5", "--to", "198.51.100.7", "--service",
          "tcp/443", "--all", "--json"},
         "query-example.json",
         3},
        // Positions, identifiers, what an answer depends on, a translation
        // and a match in the reverse direction.
        {{"query", kBranch, "--section", "local", "--service", "tcp/22", "--json"},
         "query-branch-depends.json",
         3},
        {{"query", kBranch, "--section", "nat", "--to", "203.0.113.10", "--service", "tcp/8443",
          "--json"},
         "query-branch-nat.json"},
        {{"query", kBranch, "--section", "vpn", "--from", "10.1.0.5", "--to", "name:Laptop-7",
          "--service", "tcp/3389:50000", "--json"},
         "query-branch-reverse.json"},
        // --explain shows the members that hold the flow. A rule's
        // interface says which way the flow takes it, the members of an
        // interface object do not.
        {{"query", kBranch, "--section", "local", "--from", "10.1.0.66", "--service", "tcp/995",
          "--explain"},
         "query-branch-explain.out"},
        {{"query", kBranch, "--section", "vpn", "--from", "node:1302", "--to", "10.1.0.5",
          "--service", "tcp/3389", "--explain"},
         "query-branch-explain-open.out",
         3},
        {{"query", kEveryKind, "--section", "local", "--from", "192.168.10.5", "--service",
          "tcp/22", "--in-interface", "eth1", "--explain"},
         "query-every-kind-in-interface.out",
         3},
        {{"query", kEveryKind, "--section", "transit", "--to", "203.0.113.9", "--service", "tcp/80",
          "--out-interface", "eth9", "--explain", "--all"},
         "query-every-kind-out-interface.out",
         3},
        {{"query", kEveryKind, "--from", "10.1.0.5", "--to", "192.168.10.7", "--service", "tcp/22",
          "--in-interface", "eth0", "--at", "2026-12-07T10:00:00", "--all", "--explain"},
         "query-every-kind.out"},
        {{"query", kEveryKind, "--from", "10.1.0.5", "--to", "192.168.10.7", "--service", "tcp/22",
          "--in-interface", "eth0", "--at", "2026-12-07T10:00:00", "--all", "--json"},
         "query-every-kind.json"},
        // An edit's dry run prints what diff would report and writes nothing.
        {{"rule", "add", kEveryKind, "--section", "transit", "--name", "SSH in", "--action", "pass",
          "--source", "10.0.0.0/8", "--service", "tcp/22", "--dry-run"},
         "rule-add-every-kind.out"},
        {{"rule", "set", kEveryKind, "--id", "200002", "--action", "drop", "--service",
          "udp/1024-65535:53", "--dry-run"},
         "rule-set-every-kind.out"},
        {{"rule", "remove", kEveryKind, "--section", "vpn", "--index", "0", "--dry-run"},
         "rule-remove-every-kind.out"},
        {{"rule", "disable", kEveryKind, "--section", "vpn", "--index", "0", "--dry-run"},
         "rule-disable-every-kind.out"},
        {{"rule", "move", kEveryKind, "--section", "transit", "--index", "0", "--by", "2",
          "--dry-run"},
         "rule-move-every-kind.out"},
        {{"object", "add", kEveryKind, "--type", "ip", "--name", "Lab", "--member", "10.9.0.0/16",
          "--exclude", "10.9.9.9", "--dry-run"},
         "object-add-every-kind.out"},
        {{"object", "set", kEveryKind, "--name", "Web", "--add", "tcp/8080", "--remove", "udp/443",
          "--dry-run"},
         "object-set-every-kind.out"},
        {{"object", "rename", kEveryKind, "--name", "Office LAN", "--to", "LAN", "--dry-run"},
         "object-rename-every-kind.out"},
        {{"object", "remove", kEveryKind, "--name", "Nightly backup window", "--dry-run"},
         "object-remove-every-kind.out"},
        {{"option", "set", kEveryKind, "LogLevel", "3", "--dry-run"}, "option-set-every-kind.out"},
        {{"option", "unset", kEveryKind, "LogLevel", "--dry-run"}, "option-unset-every-kind.out"},
        {{"renumber", kFindings, "--dry-run"},
         "renumber-lint-findings.out",
         0,
         "renumber-lint-findings.err"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.arguments));
        const ToolResult r = RunFwpolicy(row.arguments);
        EXPECT_EQ(row.exitStatus, r.exitStatus) << r.err;
        EXPECT_EQ(row.golden.empty() ? "" : Golden(row.golden, r.out), r.out);
        EXPECT_EQ(row.goldenErr.empty() ? "" : Golden(row.goldenErr, r.err), r.err);
    }
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
