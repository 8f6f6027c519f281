// fwpolicy show prints conditions in the words the editor reads: a rule
// added with an entry shows that entry (in its canonical form), and the
// shown text added again shows the same.

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

struct WordsCase {
    std::string section;
    std::string option;  // --source, --destination, --service, --schedule
    std::vector<std::string> entries;
    std::string shown;  // the column's text
};

std::string Joined(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts)
        joined += (joined.empty() ? "" : ", ") + text;
    return joined;
}

// The words of one column of a rule as show --json gives them, joined as
// the table joins them: a side's interface first, then its hosts.
std::string ColumnText(const nlohmann::json& rule, const std::string& column) {
    std::vector<std::string> texts;
    const nlohmann::json& value = rule.at(column);
    if (value.is_array()) {
        for (const auto& entry : value)
            texts.push_back(entry.at("text"));
    } else if (!value.is_null()) {
        if (value.contains("interface") && !value["interface"].is_null())
            texts.push_back(value["interface"].at("text"));
        for (const auto& host : value.at("hosts"))
            texts.push_back(host.at("text"));
    }
    return Joined(texts);
}

std::string Column(const std::string& option) {
    if (option == "--service")
        return "services";
    if (option == "--schedule")
        return "schedules";
    return option.substr(2);
}

// The rule named "probe" after adding it with the entries to the example.
nlohmann::json AddedRule(const WordsCase& c, const std::vector<std::string>& entries) {
    std::vector<std::string> add = {"rule",
                                    "add",
                                    "examples/policy.xml",
                                    "--dry-run=full",
                                    "--drop-comments",
                                    "--section",
                                    c.section,
                                    "--name",
                                    "probe"};
    for (const std::string& entry : entries) {
        add.push_back(c.option);
        add.push_back(entry);
    }
    const ToolResult added = RunFwpolicy(add);
    EXPECT_EQ(0, added.exitStatus) << added.err;
    const ToolResult shown =
        RunFwpolicyWithInput({"show", "-", "--section", c.section, "--json"}, added.out);
    EXPECT_EQ(0, shown.exitStatus) << shown.err;
    const nlohmann::json sections = nlohmann::json::parse(shown.out);
    for (const auto& rule : sections[c.section]) {
        if (rule["name"] == "probe")
            return rule;
    }
    ADD_FAILURE() << "no rule probe in " << shown.out;
    return {};
}

std::vector<std::string> Entries(const std::string& shown) {
    std::vector<std::string> entries;
    std::size_t start = 0;
    for (std::size_t comma; (comma = shown.find(", ", start)) != std::string::npos;
         start = comma + 2)
        entries.push_back(shown.substr(start, comma - start));
    entries.push_back(shown.substr(start));
    return entries;
}

TEST(FwpolicyShowWords, EveryConditionKindIsShownAsTheEditorWritesIt) {
    const std::vector<WordsCase> cases = {
        {"transit", "--source", {"10.1.0.5"}, "10.1.0.5"},
        {"transit", "--source", {"10.1.0.0/24"}, "10.1.0.0/24"},
        {"transit", "--source", {"10.1.0.0/255.255.0.0"}, "10.1.0.0/16"},
        {"transit", "--source", {"10.1.0.10-10.1.0.19"}, "10.1.0.10-10.1.0.19"},
        {"transit", "--source", {"2001:db8::/32"}, "2001:db8::/32"},
        {"transit", "--source", {"www.example.com"}, "www.example.com"},
        {"transit", "--source", {"domain:intranet"}, "domain:intranet"},
        {"transit", "--source", {"10.1.0.5", "interface:eth0"}, "interface:eth0, 10.1.0.5"},
        {"transit", "--destination", {"interface:10.1.0.1"}, "interface:10.1.0.1"},
        {"transit", "--destination", {"interface:InternetIP"}, "interface:InternetIP"},
        {"transit", "--destination", {"InternetIP"}, "InternetIP"},
        {"transit",
         "--destination",
         {"@\"Office LAN\"", "@Inside"},
         "@\"Inside\", @\"Office LAN\""},
        {"vpn", "--source", {"vpn-node:7"}, "vpn-node:7"},
        {"vpn", "--source", {"vpn-network:3", "vpn-name:Lap*"}, "vpn-network:3, vpn-name:Lap*"},
        {"vpn", "--source", {"@\"Head office\"", "AllClients"}, "@\"Head office\", AllClients"},
        {"transit", "--service", {"tcp/22"}, "tcp/22"},
        {"transit", "--service", {"udp/1024-65535"}, "udp/1024-65535"},
        {"transit", "--service", {"udp/1024-65535:53"}, "udp/1024-65535:53"},
        {"transit", "--service", {"tcp/any:22"}, "tcp/22"},
        {"transit", "--service", {"tcp"}, "tcp"},
        {"transit", "--service", {"icmp/echo-request"}, "icmp/echo-request"},
        {"transit", "--service", {"icmp/8/0"}, "icmp/8/0"},
        {"transit", "--service", {"icmp"}, "icmp"},
        {"transit", "--service", {"icmpv6/128"}, "icmpv6/echo-request"},
        {"transit", "--service", {"proto/47"}, "gre"},
        {"transit", "--service", {"proto/253"}, "proto/253"},
        {"transit", "--service", {"@Web", "All"}, "@\"Web\", All"},
        {"transit", "--schedule", {"daily 08:00-18:30"}, "daily 08:00-18:30"},
        {"transit", "--schedule", {"daily 22:00-06:00:30"}, "daily 22:00-06:00:30"},
        {"transit", "--schedule", {"weekly mon-fri 07:00-20:00"}, "weekly mon-fri 07:00-20:00"},
        {"transit", "--schedule", {"weekly sun,sat 10:00-12:00"}, "weekly sat,sun 10:00-12:00"},
        {"transit",
         "--schedule",
         {"weekly mon,wed,fri 10:00-12:00"},
         "weekly mon,wed,fri 10:00-12:00"},
        {"transit",
         "--schedule",
         {"calendar 2026-12-24T00:00/2026-12-26T23:59"},
         "calendar 2026-12-24T00:00/2026-12-26T23:59"},
        {"transit", "--schedule", {"@\"Office hours\""}, "@\"Office hours\""},
    };
    for (const WordsCase& c : cases) {
        SCOPED_TRACE(c.option + " " + c.entries.front());
        const nlohmann::json rule = AddedRule(c, c.entries);
        EXPECT_EQ(c.shown, ColumnText(rule, Column(c.option))) << rule.dump();
        const nlohmann::json again = AddedRule(c, Entries(c.shown));
        EXPECT_EQ(c.shown, ColumnText(again, Column(c.option))) << "shown text added back";
    }
}

// References name the object of the reference's own kind, although an
// object of another kind holds the same identifier (the first name found
// for the identifier, a schedule's, was shown).
TEST(FwpolicyShowWords, ReferencesNameTheObjectOfTheirKind) {
    TempDir dir;
    const std::string file = (dir.path() / "shared-id.xml").string();
    std::string policy = ToString(ReadBytes(SourcePath("examples/policy.xml")));
    const std::string unusedSchedule = "<Id>300502</Id>";
    policy.replace(policy.find(unusedSchedule), unusedSchedule.size(), "<Id>200101</Id>");
    WriteBytes(file, ToBytes(policy));
    const ToolResult words = RunFwpolicy({"show", file, "--json"});
    ASSERT_EQ(0, words.exitStatus) << words.err;
    const auto json = nlohmann::json::parse(words.out);
    EXPECT_EQ("@\"Office LAN\"", ColumnText(json["tunnel"][0], "source"));
    EXPECT_EQ("@\"Office hours\"", ColumnText(json["vpn"][0], "schedules"));
}

// --raw shows the library's display texts.
TEST(FwpolicyShowWords, RawShowsTheLibrarysTexts) {
    const ToolResult raw =
        RunFwpolicy({"show", "examples/policy.xml", "--section", "local", "--raw"});
    ASSERT_EQ(0, raw.exitStatus) << raw.err;
    EXPECT_NE(std::string::npos, raw.out.find("6 */22"));
    EXPECT_NE(std::string::npos, raw.out.find("Source (Inside), Office LAN"));
}

}  // namespace
}  // namespace fwcommon::test
