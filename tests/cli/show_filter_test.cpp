// fwpolicy show narrows its rules by their own fields and, through the
// flow query, by the traffic they may match; kept rules keep their
// positions.

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/RunTool.h"

namespace fwcommon::test {
namespace {

const char kExample[] = "examples/policy.xml";

// "transit:1" for each rule show --json lists, in order.
std::vector<std::string> Shown(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"show", kExample, "--json"});
    const ToolResult r = RunFwpolicy(arguments);
    EXPECT_EQ(0, r.exitStatus) << r.err;
    std::vector<std::string> shown;
    if (r.exitStatus != 0)
        return {"<" + r.err + ">"};
    const nlohmann::ordered_json sections = nlohmann::ordered_json::parse(r.out);
    for (const auto& [section, rules] : sections.items()) {
        for (const auto& rule : rules)
            shown.push_back(section + ":" + std::to_string(rule.at("position").get<int>()));
    }
    return shown;
}

TEST(FwpolicyShowFilter, EachFilterKeepsTheRulesItNames) {
    struct Case {
        std::vector<std::string> filter;
        std::vector<std::string> shown;
    };
    const std::vector<Case> cases = {
        {{"--id", "300003"}, {"transit:1"}},
        {{"--id", "1"}, {}},
        {{"--name", "*LAN*"}, {"local:0", "vpn:0", "transit:0", "tunnel:0", "nat:0"}},
        {{"--name", "Ping the node"}, {"local:1"}},
        {{"--name", "ping*"}, {}},
        {{"--inactive"}, {"local:2"}},
        {{"--active", "--section", "local"}, {"local:0", "local:1"}},
        {{"--name", "*LAN*", "--section", "transit"}, {"transit:0"}},
        {{"--id", "300003", "--name", "*LAN*"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter.front() + " " + (c.filter.size() > 1 ? c.filter[1] : ""));
        EXPECT_EQ(c.shown, Shown(c.filter));
    }
}

// Office LAN is 192.168.10.0/24 without 192.168.10.200-192.168.10.254;
// DMZ web server holds 172.16.5.10; Web is tcp/80, tcp/443 and udp/443.
TEST(FwpolicyShowFilter, TrafficFiltersMatchThroughNamedObjects) {
    struct Case {
        std::vector<std::string> filter;
        std::vector<std::string> shown;
    };
    const std::vector<Case> cases = {
        {{"--source", "192.168.10.5", "--section", "tunnel"}, {"tunnel:0"}},
        {{"--source", "192.168.10.210", "--section", "tunnel"}, {}},
        {{"--source", "192.168.10.5", "--section", "transit"}, {"transit:0", "transit:2"}},
        {{"--destination", "172.16.5.10", "--section", "transit"},
         {"transit:0", "transit:1", "transit:2"}},
        {{"--destination", "172.16.6.10", "--section", "transit"},
         {"transit:0", "transit:1", "transit:2"}},  // 1: a domain and an interface stay open
        {{"--service", "tcp/443", "--section", "transit"}, {"transit:0"}},
        {{"--service", "tcp/873", "--section", "transit"}, {"transit:1"}},
        {{"--service", "gre", "--section", "transit"}, {"transit:2"}},
        {{"--service", "tcp/22", "--section", "local"}, {"local:0", "local:2"}},
        {{"--service", "icmp/echo-request", "--section", "local"}, {"local:1", "local:2"}},
        {{"--service", "tcp/8443", "--section", "nat"}, {"nat:0", "nat:1"}},
        {{"--service", "tcp/8080", "--section", "nat"}, {"nat:0"}},
        {{"--source", "node:1301", "--section", "vpn"}, {"vpn:0", "vpn:1"}},
        {{"--source", "192.168.10.20", "--service", "tcp/873", "--destination", "172.16.5.10",
          "--section", "transit"},
         {"transit:1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter[0] + " " + c.filter[1]);
        EXPECT_EQ(c.shown, Shown(c.filter));
    }
}

TEST(FwpolicyShowFilter, InactiveRulesAreAskedAsIfActive) {
    EXPECT_EQ((std::vector<std::string>{"local:0", "local:2"}),
              Shown({"--section", "local", "--service", "tcp/22"}));
    EXPECT_EQ((std::vector<std::string>{"local:2"}),
              Shown({"--section", "local", "--service", "tcp/22", "--inactive"}));
}

TEST(FwpolicyShowFilter, TheTableCountsWhatItKeepsOfTheSection) {
    const ToolResult r =
        RunFwpolicy({"show", kExample, "--section", "transit", "--service", "tcp/873"});
    ASSERT_EQ(0, r.exitStatus) << r.err;
    EXPECT_EQ(0u, r.out.find("transit rules (1 of 3)\n")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("\n  1  300003 ")) << "the rule keeps its position";
    EXPECT_EQ(std::string::npos, r.out.find("LAN to the Internet"));
    const ToolResult all = RunFwpolicy({"show", kExample, "--section", "transit"});
    EXPECT_EQ(0u, all.out.find("transit rules (3)\n"));
}

TEST(FwpolicyShowFilter, BadFilterTextsAreUsageErrorsBeforeTheFileIsRead) {
    struct Case {
        std::vector<std::string> arguments;
        std::string message;  // the start of standard error
    };
    const std::vector<Case> cases = {
        {{"show", "no/such/file.xml", "--service", "tcp/99999"}, "fwpolicy show: --service: "},
        {{"show", kExample, "--source", "10.0.0.0/8"},
         "fwpolicy show: --source: '10.0.0.0/8' is a network, not one host; give one address of "
         "it\n"},
        {{"show", kExample, "--destination", "10.0.0.300"},
         "fwpolicy show: --destination: bad address '10.0.0.300'"},
        {{"show", kExample, "--destination", ""}, "fwpolicy show: --destination: "},
        {{"show", kExample, "--source", "\x1b]0;owned\x07"}, "fwpolicy show: --source: "},
        {{"show", kExample, "--id", "seven"},
         "fwpolicy show: --id: 'seven' is not a rule identifier"},
        {{"show", kExample, "--active", "--inactive"}, "fwpolicy show: --active excludes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments[2] + " " + c.arguments[3]);
        const ToolResult r = RunFwpolicy(c.arguments);
        EXPECT_EQ(2, r.exitStatus);
        EXPECT_EQ(0u, r.err.find(c.message)) << r.err;
        EXPECT_EQ(std::string::npos, r.err.find('\x1b')) << "escaped";
        EXPECT_EQ("", r.out);
    }
}

}  // namespace
}  // namespace fwcommon::test
