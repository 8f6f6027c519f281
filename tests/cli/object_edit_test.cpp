// fwpolicy object add, set, rename and show: every kind of object with
// inclusions and exclusions written as rule conditions are, references to
// other objects without cycles, and refusals that name the entry and leave
// the file byte-identical.

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/PolicyText.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"
#include "common/Xmllint.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;

// The entries of the object named name, as the file holds them: the text
// after its CreationType up to the end of its element.
std::string EntriesOf(const fs::path& file, const std::string& name) {
    const std::string text = BlanksBetweenTagsRemoved(ToString(ReadBytes(file)));
    const auto named = text.find("<Name>" + name + "</Name><Id>");
    if (named == std::string::npos)
        return "<missing>";
    const auto open = text.rfind('<', named - 1);
    const std::string tag = text.substr(open + 1, text.find('>', open) - open - 1);
    const auto begin = text.find("</CreationType>", named) + std::string("</CreationType>").size();
    return text.substr(begin, text.find("</" + tag + ">", begin) - begin);
}

std::string Member(const std::string& list, const std::string& kind, const std::string& content,
                   const std::string& attributes = "") {
    return "<" + list + attributes + " xsi:type=\"sv:" + kind + "\">" + content + "</" + list + ">";
}

std::string Value(const std::string& text) {
    return "<Value>" + text + "</Value>";
}

std::string TcpTo(const std::string& list, const std::string& port) {
    return Member(list, "TcpCondition",
                  "<DestinationPort xsi:type=\"sv:Port\">" + Value(port) +
                      "</DestinationPort><Protocol>6</Protocol>");
}

class ObjectEdit : public ::testing::Test {
protected:
    TempDir dir;
    fs::path file = dir.path() / "policy.xml";

    void SetUp() override {
        WriteBytes(file, ToBytes(PolicyDocument(
                             RuleElement("TransitRule", 200001, 100001, "Base", "Policy", "Drop"),
                             OneObjectOfEachKind())));
    }
    ToolResult Run(std::vector<std::string> args) {
        args.insert(args.begin() + 2, file.string());
        return RunFwpolicy(args);
    }
};

struct AddRow {
    std::vector<std::string> args;  // after "object add FILE"
    std::string entries;
};

TEST_F(ObjectEdit, EveryKindTakesItsEntries) {
    const AddRow rows[] = {
        {{"--type", "ip", "--member", "10.1.0.5", "--member", "10.1.0.0/24", "--member",
          "10.2.0.10-10.2.0.19", "--member", "admin.example.com", "--member", "@\"Office LAN\"",
          "--member", "LocalHost", "--exclude", "10.1.0.99"},
         Member("Inclusion", "IpAddress", Value("10.1.0.5")) +
             Member("Inclusion", "IpMask",
                    "<Net>" + Value("10.1.0.0") + "</Net><Mask>" + Value("255.255.255.0") +
                        "</Mask>") +
             Member(
                 "Inclusion", "IpRange",
                 "<Begin>" + Value("10.2.0.10") + "</Begin><End>" + Value("10.2.0.19") + "</End>") +
             Member("Inclusion", "DomainName", Value("admin.example.com")) +
             Member("Inclusion", "IpObjectRef", "<Id>101</Id>") +
             Member("Inclusion", "IpSystemObjectRef", "<Name>LocalHost</Name>") +
             Member("Exclusion", "IpAddress", Value("10.1.0.99"))},
        {{"--type", "interface", "--member", "interface:eth0", "--member", "interface:10.9.0.1",
          "--member", "@Outside", "--member", "InternetIP", "--exclude", "interface:eth0.5"},
         Member("Exclusion", "SimpleInterface", Value("eth0.5")) +
             Member("Inclusion", "SimpleInterface", Value("eth0")) +
             Member("Inclusion", "InterfaceByIp",
                    "<Condition xsi:type=\"sv:IpAddress\">" + Value("10.9.0.1") + "</Condition>") +
             Member("Inclusion", "InterfaceObjectRef", "<Id>201</Id>") +
             Member("Inclusion", "InterfaceSystemObjectRef", "<Name>InternetIP</Name>")},
        {{"--type", "vpn", "--member", "vpn-node:7", "--member", "vpn-network:12", "--member",
          "vpn-name:BR-*", "--member", "@\"Head office\"", "--member", "AllCoordinators",
          "--exclude", "vpn-node:8"},
         Member("Exclusion", "VpnNodeId", Value("8")) +
             Member("Inclusion", "VpnNodeId", Value("7")) +
             Member("Inclusion", "VpnNetworkId", Value("12")) +
             Member("Inclusion", "VpnNameTemplate", "<Template>BR-*</Template>") +
             Member("Inclusion", "VpnObjectRef", "<Id>301</Id>") +
             Member("Inclusion", "VpnSystemObjectRef", "<Name>AllCoordinators</Name>")},
        {{"--type", "service", "--member", "tcp/22", "--member", "udp/1024-65535:53", "--member",
          "icmp/echo-request", "--member", "icmp/3/1", "--member", "gre", "--member", "@Web",
          "--member", "All", "--exclude", "tcp/23"},
         TcpTo("Inclusion", "22") +
             Member("Inclusion", "UdpCondition",
                    "<SourcePort xsi:type=\"sv:PortRange\"><Begin>" + Value("1024") +
                        "</Begin><End>" + Value("65535") +
                        "</End></SourcePort><DestinationPort xsi:type=\"sv:Port\">" + Value("53") +
                        "</DestinationPort><Protocol>17</Protocol>") +
             Member("Inclusion", "IcmpCondition", "<Protocol>1</Protocol>", " Type=\"8\"") +
             Member("Inclusion", "IcmpCondition", "<Protocol>1</Protocol>",
                    " Code=\"1\" Type=\"3\"") +
             Member("Inclusion", "ProtocolCondition", "<Protocol>47</Protocol>") +
             Member("Inclusion", "ServiceObjectRef", "<Id>401</Id>") +
             Member("Inclusion", "ServiceSystemObjectRef", "<Name>All</Name>") +
             TcpTo("Exclusion", "23")},
        {{"--type", "schedule", "--member", "daily 06:00-14:00", "--member",
          "weekly sat,sun 10:00-16:00", "--member", "calendar 2026-12-24T00:00/2026-12-26T23:59",
          "--member", "@\"Office hours\"", "--exclude", "daily 12:00-12:30"},
         Member("Exclusion", "Daily",
                "<StartTime>12:00:00</StartTime><EndTime>12:30:00</EndTime>") +
             Member("Inclusion", "Daily",
                    "<StartTime>06:00:00</StartTime><EndTime>14:00:00</EndTime>") +
             Member("Inclusion", "Weekly",
                    "<StartTime>10:00:00</StartTime><EndTime>16:00:00</EndTime><WeekDays>"
                    "<Monday>false</Monday><Tuesday>false</Tuesday><Wednesday>false</Wednesday>"
                    "<Thursday>false</Thursday><Friday>false</Friday><Saturday>true</Saturday>"
                    "<Sunday>true</Sunday></WeekDays>") +
             Member("Inclusion", "Calendar",
                    "<StartTime>00:00:00</StartTime><EndTime>23:59:00</EndTime><StartDate>"
                    "2026-12-24</StartDate><EndDate>2026-12-26</EndDate>") +
             Member("Inclusion", "ScheduleObjectRef", "<Id>501</Id>")},
    };
    const auto original = ReadBytes(file);
    for (const AddRow& row : rows) {
        SCOPED_TRACE(row.args[1]);
        WriteBytes(file, original);
        std::vector<std::string> args = {"object", "add", "--name", "Neu · ü"};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const ToolResult added = Run(args);
        ASSERT_EQ(0, added.exitStatus) << added.err;
        EXPECT_EQ(row.entries, EntriesOf(file, "Neu · ü"));
        EXPECT_TRUE(XmllintAccepts(ReadBytes(file)));
        EXPECT_EQ(0, RunFwpolicy({"lint", file.string()}).exitStatus);
    }
}

TEST_F(ObjectEdit, SetRemovesAndAddsKeepingTheOtherEntriesInOrder) {
    ASSERT_EQ(0, Run({"object", "add", "--type", "service", "--name", "Remote", "--member", "All",
                      "--member", "tcp/22", "--member", "MyNetwork", "--member", "tcp/23",
                      "--exclude", "tcp/24"})
                     .exitStatus);
    // The second system object is taken out, not the first one of the list.
    const ToolResult set =
        Run({"object", "set", "--name", "Remote", "--remove", "MyNetwork", "--add", "tcp/25",
             "--remove-exclude", "tcp/24", "--exclude", "tcp/26"});
    ASSERT_EQ(0, set.exitStatus) << set.err;
    EXPECT_EQ(Member("Inclusion", "ServiceSystemObjectRef", "<Name>All</Name>") +
                  TcpTo("Inclusion", "22") + TcpTo("Inclusion", "23") + TcpTo("Inclusion", "25") +
                  TcpTo("Exclusion", "26"),
              EntriesOf(file, "Remote"));
    EXPECT_TRUE(XmllintAccepts(ReadBytes(file)));
}

// An entry is listed once in an object, as in a rule: adding one the list
// holds changes nothing (the other list's entry is a conflict, among the
// refusals below).
TEST_F(ObjectEdit, AnEntryTheListHoldsIsNotAddedAgain) {
    ASSERT_EQ(0, Run({"object", "add", "--type", "service", "--name", "Remote", "--member",
                      "tcp/22", "--member", "tcp/22", "--exclude", "tcp/23"})
                     .exitStatus);
    EXPECT_EQ(TcpTo("Inclusion", "22") + TcpTo("Exclusion", "23"), EntriesOf(file, "Remote"));
    const auto before = ReadBytes(file);
    const ToolResult again =
        Run({"object", "set", "--name", "Remote", "--add", "tcp/22", "--exclude", "tcp/23"});
    EXPECT_EQ(0, again.exitStatus) << again.err;
    EXPECT_EQ("fwpolicy: " + file.string() +
                  ": service object 1000000 \"Remote\" holds every "
                  "entry given already; nothing to change; the file is left as it was\n",
              again.err);
    EXPECT_EQ(before, ReadBytes(file));
}

TEST_F(ObjectEdit, RenameKeepsTheReferences) {
    ASSERT_EQ(0, Run({"rule", "add", "--section", "transit", "--name", "Out", "--source",
                      "@\"Office LAN\""})
                     .exitStatus);
    const ToolResult renamed =
        Run({"object", "rename", "--name", "Office LAN", "--to", "Büro-LAN"});
    ASSERT_EQ(0, renamed.exitStatus) << renamed.err;
    const auto shown = nlohmann::json::parse(RunFwpolicy({"show", file.string(), "--json"}).out);
    EXPECT_EQ("@\"Büro-LAN\"", shown["transit"][1]["source"]["hosts"][0]["text"]);
    const ToolResult byId = Run({"object", "show", "--id", "101", "--json"});
    ASSERT_EQ(0, byId.exitStatus) << byId.err;
    const auto object = nlohmann::json::parse(byId.out);
    EXPECT_EQ("Büro-LAN", object["name"]);
    EXPECT_EQ(1, object["rules"]);
}

TEST_F(ObjectEdit, ShowPrintsEveryField) {
    ASSERT_EQ(0, Run({"object", "set", "--name", "Office LAN", "--add", "10.1.0.0/16", "--exclude",
                      "10.1.0.9"})
                     .exitStatus);
    const ToolResult shown = Run({"object", "show", "--name", "Office LAN"});
    ASSERT_EQ(0, shown.exitStatus) << shown.err;
    EXPECT_EQ(
        "kind:     ip\n"
        "id:       101\n"
        "name:     Office LAN\n"
        "creation: policy\n"
        "rules:    0\n"
        "include:  10.1.0.1\n"
        "include:  10.1.0.0/16\n"
        "exclude:  10.1.0.9\n",
        shown.out);
    // The words of show and the edit verbs; --raw keeps the library's texts.
    const ToolResult raw = Run({"object", "show", "--name", "Office LAN", "--raw"});
    EXPECT_NE(std::string::npos, raw.out.find("include:  10.1.0.0/255.255.0.0\n")) << raw.out;
    EXPECT_NE(std::string::npos, raw.out.find("creation: policy\n")) << raw.out;
}

// A name from an untrusted file must not move the cursor or turn the text
// around on the administrator's terminal.
TEST_F(ObjectEdit, ShowEscapesControlCharactersAndDirectionMarksInNames) {
    std::string text = ToString(ReadBytes(file));
    const std::string plain = "<Name>Office LAN</Name>";
    ASSERT_NE(std::string::npos, text.find(plain));
    text.replace(text.find(plain), plain.size(), "<Name>Evil&#x9b;2J&#x202e;name</Name>");
    WriteBytes(file, ToBytes(text));
    const ToolResult shown = Run({"object", "show", "--id", "101", "--type", "ip"});
    ASSERT_EQ(0, shown.exitStatus) << shown.err;
    EXPECT_NE(std::string::npos, shown.out.find("name:     Evil\\x9b2J\\u202ename\n")) << shown.out;
}

struct RefusedRow {
    std::vector<std::string> args;  // after "object VERB FILE"
    std::string message;
};

TEST_F(ObjectEdit, RefusalsNameTheEntryAndLeaveTheFile) {
    ASSERT_EQ(0, Run({"object", "add", "--type", "ip", "--name", "Admins", "--member",
                      "@\"Office LAN\"", "--member", "10.9.0.1"})
                     .exitStatus);
    const RefusedRow rows[] = {
        {{"object", "set", "--name", "Office LAN", "--add", "@Admins"},
         "--add: '@Admins' contains this object; adding it would make a cycle"},
        {{"object", "set", "--name", "Admins", "--add", "@Admins"},
         "--add: '@Admins' is the object itself"},
        {{"object", "set", "--name", "Admins", "--exclude", "10.9.0.1"},
         "--exclude: '10.9.0.1' is an inclusion of the object; --remove it first"},
        {{"object", "set", "--name", "Admins", "--remove", "10.9.9.9"},
         "--remove: '10.9.9.9' is not among the inclusions of the object"},
        {{"object", "set", "--name", "Admins", "--remove-exclude", "10.9.0.1"},
         "--remove-exclude: '10.9.0.1' is not among the exclusions of the object"},
        {{"object", "set", "--name", "Admins", "--add", "vpn-node:4"},
         "--add: 'vpn-node:4' cannot stand in an ip object"},
        {{"object", "set", "--name", "Admins", "--add", "@Web"},
         "--add: \"Web\" is a service object, not an ip object"},
        {{"object", "set", "--name", "Admins", "--add", "@Nobody"},
         "--add: no named object \"Nobody\""},
        {{"object", "set", "--name", "Admins", "--add", "10.1.0.256"},
         "--add: bad address '10.1.0.256': '256' is not a number from 0 to 255"},
        {{"object", "set", "--name", "Admins"},
         "nothing to change: give --add, --remove, --exclude or --remove-exclude"},
        {{"object", "set", "--name", "Nobody", "--add", "10.0.0.1"}, "no named object \"Nobody\""},
        {{"object", "set", "--id", "101", "--type", "vpn", "--add", "vpn-node:1"},
         "no named object with id 101 of type vpn"},
        {{"object", "set", "--name", "Web", "--add", "icmpv6/128"},
         "--add: 'icmpv6/128': a named service object holds ICMP types for IPv4 only; give the "
         "ICMPv6 type in the rule itself"},
        {{"object", "set", "--name", "Web", "--add", "tcp/0-70000"},
         "--add: bad service 'tcp/0-70000': port '70000' is not a number from 0 to 65535"},
        {{"object", "set", "--name", "Office hours", "--add", "daily 08:00:30-09:00"},
         "--add: 'daily 08:00:30-09:00': a named schedule object keeps hours and minutes, not "
         "seconds"},
        {{"object", "set", "--name", "Head office", "--add", "vpn-node:4294967296"},
         "--add: 'vpn-node:4294967296': a named object holds VPN numbers up to 4294967295"},
        {{"object", "add", "--type", "ip", "--name", "Admins"},
         "there is an ip object named \"Admins\" already"},
        {{"object", "add", "--type", "service", "--name", ""},
         "a named object needs a non-empty name"},
        {{"object", "add", "--type", "interface", "--name", "If", "--member", "www.example.com"},
         "--member: 'www.example.com' cannot stand in an interface object"},
        {{"object", "rename", "--name", "Admins", "--to", "Office LAN"},
         "there is an ip object named \"Office LAN\" already"},
        {{"object", "rename", "--name", "Admins", "--to", ""},
         "a named object needs a non-empty name"},
    };
    const auto original = ReadBytes(file);
    for (const RefusedRow& row : rows) {
        SCOPED_TRACE(row.args[1] + " " + row.args[2] + " " + row.args[3]);
        const ToolResult refused = Run(row.args);
        EXPECT_EQ(1, refused.exitStatus);
        EXPECT_EQ("fwpolicy: " + file.string() + ": " + row.message + "\n", refused.err);
        EXPECT_TRUE(original == ReadBytes(file)) << "the file changed";
        EXPECT_EQ(std::vector<std::string>{"policy.xml"}, DirectoryEntries(dir.path()));
    }
}

}  // namespace
}  // namespace fwcommon::test
