// fwpolicy query: the deciding rule of a flow, what earlier rules depend on,
// exit statuses and refused flows, end to end on the built tool.

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/JsonSchemaCheck.h"
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

TEST(FwpolicyQuery, TheFirstMatchingRuleDecidesAndIsNamed) {
    const ToolResult pass =
        Query({"--section", "local", "--from", "10.1.0.12", "--service", "tcp/22"});
    EXPECT_EQ(0, pass.exitStatus) << pass.err;
    EXPECT_EQ(
        "local: pass by rule #0 \"SSH from the admin net\" (RuleId 1)\n"
        "  #0 \"SSH from the admin net\" (RuleId 1): matches (decides)\n",
        pass.out);
    EXPECT_EQ("", pass.err);
    // A network of one address is that host.
    EXPECT_EQ(pass.out,
              Query({"--section", "local", "--from", "10.1.0.12/32", "--service", "tcp/22"}).out);

    // The address the admin net excludes falls through to the drop rule,
    // whose name is not ASCII.
    const ToolResult drop =
        Query({"--section", "local", "--from", "10.1.0.66", "--service", "tcp/22"});
    EXPECT_EQ(1, drop.exitStatus) << drop.err;
    EXPECT_EQ(
        "local: drop by rule #1 \"Keine Verwaltung von au\xc3\x9f"
        "en\" (RuleId 2)\n"
        "  #1 \"Keine Verwaltung von au\xc3\x9f"
        "en\" (RuleId 2): matches (decides)\n",
        drop.out);
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

TEST(FwpolicyQuery, InactiveRulesNeverAnswerButKeepTheirPosition) {
    // Mail relay is #3 as show counts, behind the inactive #2 that would
    // pass everything; the port the service object excludes matches nothing.
    const ToolResult relay =
        Query({"--section", "local", "--from", "10.1.0.66", "--service", "tcp/995"});
    EXPECT_EQ(0, relay.exitStatus);
    EXPECT_EQ(
        "local: pass by rule #3 \"Mail relay\" (RuleId 4)\n"
        "  #3 \"Mail relay\" (RuleId 4): matches (decides)\n",
        relay.out);
    const ToolResult excluded =
        Query({"--section", "local", "--from", "10.1.0.66", "--service", "tcp/994"});
    EXPECT_EQ(1, excluded.exitStatus);
    EXPECT_EQ("local: no rule matches\n", excluded.out);
}

TEST(FwpolicyQuery, WhatTheFlowLeavesOpenMakesTheAnswerDepend) {
    const ToolResult noSource = Query({"--section", "local", "--service", "tcp/22"});
    EXPECT_EQ(3, noSource.exitStatus);
    EXPECT_EQ(
        "local: depends, else drop by rule #1 \"Keine Verwaltung von au\xc3\x9f"
        "en\" (RuleId 2)\n"
        "  #0 \"SSH from the admin net\" (RuleId 1): may match\n"
        "    depends on source: not given\n"
        "  #1 \"Keine Verwaltung von au\xc3\x9f"
        "en\" (RuleId 2): matches (decides)\n",
        noSource.out);

    const std::vector<std::string> backup = {"--section", "transit",   "--from",
                                             "10.1.0.22", "--service", "tcp/873"};
    const ToolResult noTime = Query(backup);
    EXPECT_EQ(3, noTime.exitStatus);
    EXPECT_NE(std::string::npos, noTime.out.find("depends on schedule: the time, not given"))
        << noTime.out;
    std::vector<std::string> atNight = backup;
    atNight.insert(atNight.end(), {"--at", "2026-12-07T02:00:00"});
    EXPECT_EQ(0, Query(atNight).exitStatus);
    std::vector<std::string> atDawn = backup;
    atDawn.insert(atDawn.end(), {"--at", "2026-12-07T05:00:00"});
    const ToolResult dawn = Query(atDawn);
    EXPECT_EQ(1, dawn.exitStatus);
    EXPECT_EQ(
        "transit: drop by rule #1 \"Nothing else passes\" (RuleId 21)\n"
        "  #1 \"Nothing else passes\" (RuleId 21): matches (decides)\n",
        dawn.out);

    // A node given by number has no known name: the template may hold it.
    const ToolResult node = Query(
        {"--section", "vpn", "--from", "node:1302", "--to", "10.1.0.5", "--service", "tcp/3389"});
    EXPECT_EQ(3, node.exitStatus);
    EXPECT_NE(std::string::npos, node.out.find("depends on source: vpn-name:Laptop-*")) << node.out;
}

TEST(FwpolicyQuery, BothWaysRulesAnswerTheMirroredFlow) {
    // A node by name in show's form too (vpn-name:NODE) answers the same.
    for (const char* node : {"name:laptop-7", "vpn-name:laptop-7"}) {
        SCOPED_TRACE(node);
        const ToolResult forward = Query(
            {"--section", "vpn", "--from", node, "--to", "10.1.0.5", "--service", "tcp/3389"});
        EXPECT_EQ(0, forward.exitStatus) << forward.out;
        EXPECT_NE(std::string::npos, forward.out.find("): matches (decides)")) << forward.out;
    }
    const ToolResult mirrored = Query({"--section", "vpn", "--from", "10.1.0.5", "--to",
                                       "name:Laptop-7", "--service", "tcp/3389:50000"});
    EXPECT_EQ(0, mirrored.exitStatus) << mirrored.out;
    EXPECT_NE(std::string::npos, mirrored.out.find("matches in the reverse direction (decides)"))
        << mirrored.out;
    const ToolResult unmirrored = Query({"--section", "vpn", "--from", "10.1.0.5", "--to",
                                         "name:Laptop-7", "--service", "tcp/50000:3389"});
    EXPECT_EQ(1, unmirrored.exitStatus) << unmirrored.out;
}

TEST(FwpolicyQuery, AllListsEveryLaterMatchAndNatShowsItsTranslation) {
    const ToolResult all =
        Query({"--section", "local", "--from", "10.1.0.12", "--service", "tcp/22", "--all"});
    EXPECT_EQ(0, all.exitStatus);
    EXPECT_EQ(
        "local: pass by rule #0 \"SSH from the admin net\" (RuleId 1)\n"
        "  #0 \"SSH from the admin net\" (RuleId 1): matches (decides)\n"
        "  #1 \"Keine Verwaltung von au\xc3\x9f"
        "en\" (RuleId 2): matches\n",
        all.out);
    const ToolResult nat = Query({"--section", "nat", "--to", "203.0.113.10", "--service",
                                  "tcp/8443", "--from", "198.51.100.7"});
    EXPECT_EQ(0, nat.exitStatus);
    EXPECT_EQ(
        "nat: translate: destination to 10.1.0.80, destination port to 443 by rule #0 "
        "\"Publish the web server\" (RuleId 40)\n"
        "  #0 \"Publish the web server\" (RuleId 40): matches (decides)\n",
        nat.out);
}

TEST(FwpolicyQuery, ExitStatusCombinesTheFilteringSections) {
    // Transit drops, NAT translates: a translation alone lets nothing pass.
    const ToolResult blocked =
        Query({"--from", "198.51.100.7", "--to", "203.0.113.10", "--service", "tcp/8443"});
    EXPECT_EQ(1, blocked.exitStatus) << blocked.out;
    // Local passes while transit drops: some section lets the flow through.
    const ToolResult local = Query({"--from", "10.1.0.12", "--service", "tcp/22"});
    EXPECT_EQ(0, local.exitStatus) << local.out;
    EXPECT_NE(std::string::npos, local.out.find("transit: drop by rule #1")) << local.out;
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

TEST(FwpolicyQuery, FilesThatCannotBeLoadedExitWithTwo) {
    const ToolResult missing = RunFwpolicy({"query", "no/such/file.xml", "--from", "10.0.0.1"});
    EXPECT_EQ(2, missing.exitStatus);
    EXPECT_EQ("fwpolicy: no/such/file.xml: cannot read: No such file or directory\n", missing.err);
    EXPECT_EQ("", missing.out);
    const ToolResult objects =
        RunFwpolicy({"query", kBranch, "--objects", "no/such/objects.xml", "--from", "10.0.0.1"});
    EXPECT_EQ(2, objects.exitStatus);
    EXPECT_EQ(2, RunFwpolicy({"query"}).exitStatus);
}

TEST(FwpolicyQuery, SeveralFilesAreAnsweredEachUnderItsName) {
    const ToolResult r = RunFwpolicy({"query", kBranch, "examples/policy.xml", "--section", "local",
                                      "--from", "10.1.0.12", "--service", "tcp/22"});
    EXPECT_EQ(0, r.exitStatus) << r.err;
    EXPECT_EQ(0u, r.out.find(std::string(kBranch) + ": local: pass by rule #0")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("examples/policy.xml: local: ")) << r.out;
}

nlohmann::json QuerySchema() {
    std::ifstream in(SourcePath("docs/query.schema.json"));
    return nlohmann::json::parse(std::string(std::istreambuf_iterator<char>(in), {}));
}

TEST(FwpolicyQuery, JsonOfEveryKindOfAnswerFollowsItsSchema) {
    const nlohmann::json schema = QuerySchema();
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
        const nlohmann::json answer = nlohmann::json::parse(r.out);
        EXPECT_EQ(r.exitStatus, answer.at("exitStatus"));
        for (const std::string& violation : SchemaViolations(schema, answer)) {
            ADD_FAILURE() << flow[1] << ": " << violation;
        }
    }
    // The check itself refuses what the schema does not allow.
    nlohmann::json bad = nlohmann::json::parse(Query({"--section", "local", "--json"}).out);
    bad["files"][0]["sections"][0]["decision"] = "allowed";
    bad["files"][0]["extra"] = 1;
    EXPECT_EQ(2u, SchemaViolations(schema, bad).size());
}

TEST(FwpolicyQuery, JsonCarriesPositionsIdentifiersDependenciesAndTranslations) {
    const ToolResult depends = Query({"--section", "local", "--service", "tcp/22", "--json"});
    EXPECT_EQ(3, depends.exitStatus);
    const nlohmann::json answer = nlohmann::json::parse(depends.out);
    EXPECT_EQ("depends", answer.at("decision"));
    const nlohmann::json& local = answer.at("files").at(0).at("sections").at(0);
    EXPECT_EQ("local", local.at("section"));
    EXPECT_EQ("depends", local.at("decision"));
    EXPECT_EQ(1, local.at("deciding"));
    ASSERT_EQ(2u, local.at("rules").size());
    const nlohmann::json& open = local["rules"][0];
    EXPECT_EQ(1, open.at("ruleId"));
    EXPECT_EQ("may match", open.at("answer"));
    EXPECT_FALSE(open.at("decides").get<bool>());
    EXPECT_EQ(nlohmann::json::array({"source: not given"}), open.at("dependsOn"));
    EXPECT_EQ("may match", open.at("parts").at("source"));
    EXPECT_FALSE(open.contains("explanation")) << "explanations only when asked";
    EXPECT_EQ(
        "Keine Verwaltung von au\xc3\x9f"
        "en",
        local["rules"][1].at("name"));
    EXPECT_EQ("drop", local["rules"][1].at("action"));

    const ToolResult nat =
        Query({"--section", "nat", "--to", "203.0.113.10", "--service", "tcp/8443", "--json"});
    const nlohmann::json natAnswer = nlohmann::json::parse(nat.out);
    const nlohmann::json& rule = natAnswer["files"][0]["sections"][0];
    EXPECT_EQ("translate", rule.at("decision"));
    EXPECT_EQ((nlohmann::json{{"sourceIp", nullptr},
                              {"toOutboundInterface", false},
                              {"destinationIp", "10.1.0.80"},
                              {"destinationPort", 443}}),
              rule.at("rules").at(0).at("translation"));

    const ToolResult reverse = Query({"--section", "vpn", "--from", "10.1.0.5", "--to",
                                      "name:Laptop-7", "--service", "tcp/3389:50000", "--json"});
    EXPECT_EQ(
        "reverse",
        nlohmann::json::parse(reverse.out)["files"][0]["sections"][0]["rules"][0].at("direction"));
}

TEST(FwpolicyQuery, ExplainShowsTheMembersThatHoldTheFlow) {
    const ToolResult relay =
        Query({"--section", "local", "--from", "10.1.0.66", "--service", "tcp/995", "--explain"});
    EXPECT_EQ(0, relay.exitStatus);
    EXPECT_EQ(
        "local: pass by rule #3 \"Mail relay\" (RuleId 4)\n"
        "  #3 \"Mail relay\" (RuleId 4): matches (decides)\n"
        "      schedule: matches\n"
        "        any: matches\n"
        "      source: matches\n"
        "        any: matches\n"
        "      service: matches\n"
        "        @\"Mail\": matches\n"
        "          include tcp/993-995: matches\n"
        "      destination: matches\n"
        "        any: matches\n",
        relay.out);
    const ToolResult open = Query({"--section", "vpn", "--from", "node:1302", "--to", "10.1.0.5",
                                   "--service", "tcp/3389", "--explain"});
    EXPECT_NE(std::string::npos, open.out.find("      source: may match\n"
                                               "        vpn-name:Laptop-*: may match\n"))
        << open.out;
    EXPECT_NE(std::string::npos, open.out.find("        @\"Admin-Netz K\xc3\xb6ln\": matches\n"
                                               "          include 10.1.0.0/24: matches\n"))
        << open.out;

    // A rule's interface says which way the flow takes it, the members of
    // an interface object do not.
    const ToolResult sides =
        RunFwpolicy({"query", "tests/data/cli/every-kind.xml", "--section", "local", "--from",
                     "192.168.10.5", "--service", "tcp/22", "--in-interface", "eth1", "--explain"});
    EXPECT_NE(std::string::npos, sides.out.find("      source: may match\n"
                                                "        in @\"Inside\": may match\n"
                                                "          include interface:192.168.10.0/24: "
                                                "may match\n"
                                                "          include interface:MyNetwork: may "
                                                "match\n"
                                                "          include @\"Outside\": may match\n"))
        << sides.out;
    const ToolResult out = RunFwpolicy({"query", "tests/data/cli/every-kind.xml", "--section",
                                        "transit", "--to", "203.0.113.9", "--service", "tcp/80",
                                        "--out-interface", "eth9", "--explain", "--all"});
    EXPECT_NE(std::string::npos, out.out.find("        out interface:InternetIP: may match\n"))
        << out.out;
}

}  // namespace
}  // namespace fwcommon::test
