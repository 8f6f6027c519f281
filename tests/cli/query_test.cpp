// fwpolicy query: the deciding rule of a flow, what earlier rules depend on,
// exit statuses and refused flows, end to end on the built tool.

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/PolicyText.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

const char kBranch[] = "tests/data/cli/query-branch.xml";

ToolResult Query(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"query", kBranch});
    return RunFwpolicy(arguments);
}

struct Answer {
    std::vector<std::string> flow;  // after "query BRANCH"
    std::string out;                // the whole of standard output, a part of it, or "" for any
    int exitStatus = 0;
    bool part = false;
};

TEST(FwpolicyQuery, EachFlowIsAnsweredByTheRuleThatDecidesIt) {
    const std::string ssh = "\"SSH from the admin net\" (RuleId 1)";
    const std::string keine =
        "\"Keine Verwaltung von au\xc3\x9f"
        "en\" (RuleId 2)";
    const std::string passBySsh =
        "local: pass by rule #0 " + ssh + "\n  #0 " + ssh + ": matches (decides)\n";
    const std::vector<std::string> backup = {"--section", "transit",   "--from",
                                             "10.1.0.22", "--service", "tcp/873"};
    const auto at = [&backup](const char* time) {
        std::vector<std::string> flow = backup;
        flow.insert(flow.end(), {"--at", time});
        return flow;
    };
    const auto vpn = [](const char* from, const char* to, const char* service) {
        return std::vector<std::string>{"--section", "vpn", "--from",    from,
                                        "--to",      to,    "--service", service};
    };
    const Answer answers[] = {
        // The first matching rule decides and is named; a network of one
        // address is that host.
        {{"--section", "local", "--from", "10.1.0.12", "--service", "tcp/22"}, passBySsh},
        {{"--section", "local", "--from", "10.1.0.12/32", "--service", "tcp/22"}, passBySsh},
        // The address the admin net excludes falls through to the drop
        // rule, whose name is not ASCII.
        {{"--section", "local", "--from", "10.1.0.66", "--service", "tcp/22"},
         "local: drop by rule #1 " + keine + "\n  #1 " + keine + ": matches (decides)\n",
         1},
        // Mail relay is #3 as show counts, behind the inactive #2 that
        // would pass everything; the port the service object excludes
        // matches nothing.
        {{"--section", "local", "--from", "10.1.0.66", "--service", "tcp/995"},
         "local: pass by rule #3 \"Mail relay\" (RuleId 4)\n"
         "  #3 \"Mail relay\" (RuleId 4): matches (decides)\n"},
        {{"--section", "local", "--from", "10.1.0.66", "--service", "tcp/994"},
         "local: no rule matches\n",
         1},
        // What the flow leaves open makes the answer depend.
        {{"--section", "local", "--service", "tcp/22"},
         "local: depends, else drop by rule #1 " + keine + "\n  #0 " + ssh +
             ": may match\n    depends on source: not given\n  #1 " + keine +
             ": matches (decides)\n",
         3},
        {backup, "depends on schedule: the time, not given", 3, true},
        {at("2026-12-07T02:00:00"), ""},
        {at("2026-12-07T05:00:00"),
         "transit: drop by rule #1 \"Nothing else passes\" (RuleId 21)\n"
         "  #1 \"Nothing else passes\" (RuleId 21): matches (decides)\n",
         1},
        // A node given by number has no known name: the template may hold
        // it. A node by name answers, in show's form too (vpn-name:NODE).
        {vpn("node:1302", "10.1.0.5", "tcp/3389"), "depends on source: vpn-name:Laptop-*", 3, true},
        {vpn("name:laptop-7", "10.1.0.5", "tcp/3389"), "): matches (decides)", 0, true},
        {vpn("vpn-name:laptop-7", "10.1.0.5", "tcp/3389"), "): matches (decides)", 0, true},
        // Both-ways rules answer the mirrored flow.
        {vpn("10.1.0.5", "name:Laptop-7", "tcp/3389:50000"),
         "matches in the reverse direction (decides)", 0, true},
        {vpn("10.1.0.5", "name:Laptop-7", "tcp/50000:3389"), "", 1},
        // --all lists every later match; nat shows its translation.
        {{"--section", "local", "--from", "10.1.0.12", "--service", "tcp/22", "--all"},
         passBySsh + "  #1 " + keine + ": matches\n"},
        {{"--section", "nat", "--to", "203.0.113.10", "--service", "tcp/8443", "--from",
          "198.51.100.7"},
         "nat: translate: destination to 10.1.0.80, destination port to 443 by rule #0 "
         "\"Publish the web server\" (RuleId 40)\n"
         "  #0 \"Publish the web server\" (RuleId 40): matches (decides)\n"},
        // The status combines the filtering sections: transit drops and nat
        // translates, and a translation alone lets nothing pass; local
        // passes while transit drops, so some section lets the flow through.
        {{"--from", "198.51.100.7", "--to", "203.0.113.10", "--service", "tcp/8443"}, "", 1},
        {{"--from", "10.1.0.12", "--service", "tcp/22"}, "transit: drop by rule #1", 0, true},
    };
    for (const Answer& answer : answers) {
        SCOPED_TRACE(testing::PrintToString(answer.flow));
        const ToolResult r = Query(answer.flow);
        EXPECT_EQ(answer.exitStatus, r.exitStatus) << r.out;
        EXPECT_EQ("", r.err);
        if (answer.part) {
            EXPECT_NE(std::string::npos, r.out.find(answer.out)) << r.out;
        } else if (!answer.out.empty()) {
            EXPECT_EQ(answer.out, r.out);
        }
    }
}

// A name may hold a tab, a line feed or a C1 control: each answer stays
// one line, and no control reaches the terminal.
TEST(FwpolicyQuery, ControlCharactersInNamesAreShownEscaped) {
    const TempDir dir;
    const std::string file = WrittenFile(
        dir.path(), "controls.xml",
        PolicyDocument(RuleElement("LocalRule", 200001, 200001, "Tab\there\nand\xc2\x9b[2J")));
    const ToolResult r = RunFwpolicy({"query", file, "--section", "local"});
    EXPECT_EQ(0, r.exitStatus) << r.err;
    EXPECT_EQ(
        "local: pass by rule #0 \"Tab\\x09here\\x0aand\\x9b[2J\" (RuleId 200001)\n"
        "  #0 \"Tab\\x09here\\x0aand\\x9b[2J\" (RuleId 200001): matches (decides)\n",
        r.out);
}

TEST(FwpolicyQuery, RefusedFlowsNameTheOptionAndExitWithTwo) {
    const struct {
        std::vector<std::string> arguments;
        std::string error;
    } rows[] = {
        {{"--from", "10.1.0.300"}, "fwpolicy query: --from: bad address '10.1.0.300'"},
        {{"--from", ""}, "fwpolicy query: --from: bad flow end ''"},
        {{"--to", "allclients"}, "did you mean 'AllClients'?"},
        {{"--from", "10.0.0.0/8"},
         "fwpolicy query: --from: '10.0.0.0/8' is a network, not one host; give one address of it "
         "(see 'fwpolicy help query')\n"},
        {{"--to", "10.0.0.1-10.0.0.9"},
         "fwpolicy query: --to: '10.0.0.1-10.0.0.9' is a range, not one host; give one address of "
         "it (see 'fwpolicy help query')\n"},
        {{"--to", "2001:db8::/64"}, "'2001:db8::/64' is a network, not one host"},
        {{"--from", "10.0.0.1/8"}, "host bits are set in '10.0.0.1'"},
        {{"--from", "AllClient"},
         "fwpolicy query: --from: bad flow end 'AllClient': no system object has this name (a node "
         "of "
         "this name is 'name:AllClient'); did you mean 'AllClients'? (see 'fwpolicy help "
         "query')\n"},
        {{"--to", "internetip"},
         "fwpolicy query: --to: bad flow end 'internetip': system object names are case-sensitive; "
         "did "
         "you mean 'InternetIP'? (see 'fwpolicy help query')\n"},
        {{"--from", "node:12x"}, "fwpolicy query: --from: bad flow end 'node:12x'"},
        {{"--from", "name:"}, "fwpolicy query: --from: bad node name '': the name is empty"},
        // Rule forms that name no one host were taken for node names or
        // addresses.
        {{"--from", "@\"Office LAN\""},
         "fwpolicy query: --from: bad flow end '@\"Office LAN\"': a named object is no one "
         "host; give one address of it (a node of this name is 'name:@\"Office LAN\"')"},
        {{"--to", "interface:eth0"},
         "fwpolicy query: --to: bad flow end 'interface:eth0': give the interface with "
         "--in-interface or --out-interface"},
        {{"--to", "vpn-side:public"},
         "fwpolicy query: --to: bad flow end 'vpn-side:public': 'vpn-side:' is no form of a flow "
         "end; give an address, node:N, network:N, name:NODE or a system object name"},
        {{"--from", "vpn-name:"}, "fwpolicy query: --from: bad node name '': the name is empty"},
        // "*" and "any" were taken for the name of a node.
        {{"--from", "*"},
         "fwpolicy query: --from: bad flow end '*': a flow end is one host; leave the option out "
         "and that end stays open (a node of this name is 'name:*')"},
        {{"--to", "any"}, "bad flow end 'any': a flow end is one host; leave the option out"},
        {{"--service", "any"},
         "fwpolicy query: --service: bad flow service 'any': a flow has one service; leave the "
         "option out and it stays open"},
        {{"--from", "Laptop\x01"}, "the name holds a control character"},
        {{"--to", "Lap\xff"}, "fwpolicy: argument 4 is not valid UTF-8"},
        {{"--in-interface", ""}, "fwpolicy query: --in-interface: bad interface name ''"},
        {{"--out-interface", "eth\x1b[0"}, "fwpolicy query: --out-interface: bad interface name"},
        {{"--service", "tcp/99999"}, "fwpolicy query: --service: bad service 'tcp/99999'"},
        {{"--service", "tcp/1-9"}, "a flow has one port on each side, not a range"},
        {{"--at", "tomorrow"}, "fwpolicy query: --at: not an ISO-8601 date and time: 'tomorrow'"},
        {{"--at", "2026-12-07T10:00:00Z"}, "has a time zone"},
        {{"--at", "2026-12-07T10:00:00+01:00"}, "has a time zone"},
        {{"--section", "bogus"},
         "fwpolicy query: --section: 'bogus' is not one of local, vpn, transit, tunnel, nat"},
    };
    for (const auto& row : rows) {
        const ToolResult r = Query(row.arguments);
        EXPECT_EQ(2, r.exitStatus) << row.error;
        EXPECT_EQ("", r.out) << row.error;
        EXPECT_NE(std::string::npos, r.err.find(row.error)) << r.err;
    }
}

TEST(FwpolicyQuery, SeveralFilesAreAnsweredEachUnderItsName) {
    const ToolResult r = RunFwpolicy({"query", kBranch, "examples/policy.xml", "--section", "local",
                                      "--from", "10.1.0.12", "--service", "tcp/22"});
    EXPECT_EQ(0, r.exitStatus) << r.err;
    EXPECT_EQ(0u, r.out.find(std::string(kBranch) + ": local: pass by rule #0")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("examples/policy.xml: local: ")) << r.out;
}

// RunTool holds every answer to the schema; the answer's status is the
// process's.
TEST(FwpolicyQuery, JsonOfEveryKindOfAnswerCarriesTheExitStatus) {
    const std::vector<std::vector<std::string>> flows = {
        {"--from", "10.1.0.12", "--service", "tcp/22", "--all", "--explain"},
        {"--section", "local", "--service", "tcp/22"},
        {"--section", "vpn", "--from", "10.1.0.5", "--to", "name:Laptop-7", "--service",
         "tcp/3389:50000", "--explain"},
        {"--section", "nat", "--to", "203.0.113.10", "--service", "tcp/8443"},
        {"--from", "node:1302", "--to", "10.1.0.5", "--at", "2026-12-07T02:00:00", "--explain"},
    };
    for (std::vector<std::string> flow : flows) {
        flow.push_back("--json");
        const ToolResult r = Query(flow);
        EXPECT_EQ(r.exitStatus, nlohmann::json::parse(r.out).at("exitStatus")) << flow[1];
    }
}

}  // namespace
}  // namespace fwcommon::test
