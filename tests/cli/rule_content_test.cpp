// fwpolicy rule add and rule set write every kind of condition and action
// the rules schema holds, from the text forms administrators type; every
// refused entry names the bad part and leaves the file byte-identical.

#include <cctype>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/PolicyText.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"
#include "common/Xmllint.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;

const std::string kPassFilter =
    "<Action IsBidirectional=\"false\" IsConnectionLoggingEnabled=\"true\" "
    "IsConnectionStateless=\"false\" IsPacketLoggingEnabled=\"true\" xsi:type=\"sv:Filter\">"
    "<FilteringAction>Pass</FilteringAction></Action>";

std::string Public(const std::string& members) {
    return "<Source xsi:type=\"sv:PublicNetwork\">" + members + "</Source>";
}

std::string Private(const std::string& members) {
    return "<Source xsi:type=\"sv:PrivateNetwork\">" + members + "</Source>";
}

std::string Host(const std::string& kind, const std::string& content) {
    return "<IpHostCondition xsi:type=\"sv:" + kind + "\">" + content + "</IpHostCondition>";
}

std::string Vpn(const std::string& kind, const std::string& content) {
    return "<VpnHostCondition xsi:type=\"sv:" + kind + "\">" + content + "</VpnHostCondition>";
}

std::string Value(const std::string& text) {
    return "<Value>" + text + "</Value>";
}

std::string Address(const std::string& element, const std::string& text) {
    return "<" + element + ">" + Value(text) + "</" + element + ">";
}

std::string Tcp(const std::string& ports) {
    return "<ServiceCondition xsi:type=\"sv:TcpCondition\">" + ports +
           "<Protocol>6</Protocol></ServiceCondition>";
}

std::string Port(const std::string& element, const std::string& number) {
    return "<" + element + " xsi:type=\"sv:Port\">" + Value(number) + "</" + element + ">";
}

std::string Range(const std::string& element, const std::string& first, const std::string& last) {
    return "<" + element + " xsi:type=\"sv:PortRange\"><Begin>" + Value(first) + "</Begin><End>" +
           Value(last) + "</End></" + element + ">";
}

std::string Joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : " ") + word;
    return text;
}

// The text between <open...> and </close> in the rule named name, compacted;
// "<missing>" when the file has no such rule or element.
std::string PartOfRule(const fs::path& file, const std::string& name, const std::string& open,
                       const std::string& close) {
    const std::string text = BlanksBetweenTagsRemoved(ToString(ReadBytes(file)));
    const auto named = text.find("<Name>" + name + "</Name>");
    if (named == std::string::npos)
        return "<missing>";
    const auto begin = text.find(open, named);
    const auto end = text.find(close, begin);
    if (begin == std::string::npos || end == std::string::npos)
        return "<missing>";
    return text.substr(begin, end + close.size() - begin);
}

// The start tag of the rule named name.
std::string RuleTagOf(const fs::path& file, const std::string& name) {
    const std::string text = BlanksBetweenTagsRemoved(ToString(ReadBytes(file)));
    const auto named = text.find("<Name>" + name + "</Name>");
    const auto begin = text.rfind("<Rule ", named);
    if (named == std::string::npos || begin == std::string::npos)
        return "<missing>";
    return text.substr(begin, text.find('>', begin) + 1 - begin);
}

std::string ConditionsOf(const fs::path& file, const std::string& name) {
    return PartOfRule(file, name, "<ConditionSet>", "</ConditionSet>");
}

std::string ActionOf(const fs::path& file, const std::string& name) {
    return PartOfRule(file, name, "<Action ", "</Action>");
}

std::string Conditions(const std::string& inner) {
    return "<ConditionSet>" + inner + "</ConditionSet>";
}

class RuleContent : public ::testing::Test {
protected:
    TempDir dir;
    fs::path file = dir.path() / "policy.xml";

    void SetUp() override {
        WriteBytes(file, ToBytes(PolicyDocument(
                             RuleElement("TransitRule", 200001, 100001, "Base", "Policy", "Drop") +
                                 RuleElement("NatRule", 200002, 100001, "Hide", "Policy"),
                             OneObjectOfEachKind())));
    }
    ToolResult Run(const std::string& verb, std::vector<std::string> extra,
                   const std::string& section = "transit") {
        std::vector<std::string> args = {"rule", verb, file.string()};
        if (verb == "add")
            args.insert(args.end(), {"--section", section, "--name", "New"});
        args.insert(args.end(), extra.begin(), extra.end());
        return RunFwpolicy(args);
    }
};

struct ConditionRow {
    std::vector<std::string> options;
    std::string conditions;  // the ConditionSet's children
};

TEST_F(RuleContent, EachEntryBecomesItsCondition) {
    const std::string lan = Host("IpObjectRef", "<Id>101</Id>");
    const ConditionRow rows[] = {
        {{"--source", "10.1.0.5"}, Public(Host("IpAddress", Value("10.1.0.5")))},
        {{"--source", "10.1.0.0/24"},
         Public(Host("IpMask", Address("Net", "10.1.0.0") + Address("Mask", "255.255.255.0")))},
        {{"--source", "10.1.0.0/255.255.255.0"},
         Public(Host("IpMask", Address("Net", "10.1.0.0") + Address("Mask", "255.255.255.0")))},
        {{"--source", "10.1.0.10-10.1.0.19"},
         Public(Host("IpRange", Address("Begin", "10.1.0.10") + Address("End", "10.1.0.19")))},
        {{"--source", "www.example.com"}, Public(Host("DomainName", Value("www.example.com")))},
        {{"--source", "@\"Office LAN\""}, Public(lan)},
        {{"--source-object", "Office LAN"}, Public(lan)},
        {{"--source", "AllClients"}, Public(Host("IpSystemObjectRef", "<Name>AllClients</Name>"))},
        {{"--source", "interface:eth1", "--source", "10.1.0.5"},
         Public("<InterfaceCondition xsi:type=\"sv:SimpleInterface\">" + Value("eth1") +
                "</InterfaceCondition>" + Host("IpAddress", Value("10.1.0.5")))},
        {{"--source", "interface:10.1.0.1"},
         Public("<InterfaceCondition xsi:type=\"sv:InterfaceByIp\"><Condition "
                "xsi:type=\"sv:IpAddress\">" +
                Value("10.1.0.1") + "</Condition></InterfaceCondition>")},
        {{"--source", "@Outside"},
         Public("<InterfaceCondition xsi:type=\"sv:InterfaceObjectRef\"><Id>201</Id>"
                "</InterfaceCondition>")},
        {{"--source", "vpn-node:1301", "--source", "vpn-network:12", "--source",
          "vpn-name:Laptop-*"},
         Private(Vpn("VpnNodeId", Value("1301")) + Vpn("VpnNetworkId", Value("12")) +
                 Vpn("VpnNameTemplate", "<Template>Laptop-*</Template>"))},
        {{"--source", "@\"Head office\""}, Private(Vpn("VpnObjectRef", "<Id>301</Id>"))},
        {{"--source", "AllClients", "--source-side", "private"},
         Private(Vpn("VpnSystemObjectRef", "<Name>AllClients</Name>"))},
        {{"--destination", "InternetIP", "--destination-object", "Office LAN"},
         "<Destination xsi:type=\"sv:PublicNetwork\">" +
             Host("IpSystemObjectRef", "<Name>InternetIP</Name>") + lan + "</Destination>"},
        {{"--service", "tcp/22"}, Tcp(Port("DestinationPort", "22"))},
        {{"--service", "tcp/any:22"}, Tcp(Port("DestinationPort", "22"))},
        {{"--service", "tcp/1024-65535:22"},
         Tcp(Range("SourcePort", "1024", "65535") + Port("DestinationPort", "22"))},
        {{"--service", "udp/1024-65535"},
         "<ServiceCondition xsi:type=\"sv:UdpCondition\">" +
             Range("DestinationPort", "1024", "65535") +
             "<Protocol>17</Protocol></ServiceCondition>"},
        {{"--service", "icmp/echo-request"},
         "<ServiceCondition Type=\"8\" xsi:type=\"sv:IcmpCondition\"><Protocol>1</Protocol>"
         "</ServiceCondition>"},
        {{"--service", "icmp/3/1"},
         "<ServiceCondition Code=\"1\" Type=\"3\" xsi:type=\"sv:IcmpCondition\">"
         "<Protocol>1</Protocol></ServiceCondition>"},
        // Two spellings of one entry make one condition.
        {{"--service", "proto/47", "--service", "gre"},
         "<ServiceCondition xsi:type=\"sv:ProtocolCondition\"><Protocol>47</Protocol>"
         "</ServiceCondition>"},
        {{"--service", "@Web", "--service-object", "Web"},
         "<ServiceCondition xsi:type=\"sv:ServiceObjectRef\"><Id>401</Id></ServiceCondition>"},
        {{"--schedule", "daily 08:00-18:00"},
         "<ScheduleCondition xsi:type=\"sv:Daily\"><StartTime>08:00:00</StartTime>"
         "<EndTime>18:00:00</EndTime></ScheduleCondition>"},
        {{"--schedule", "weekly mon-fri,sun 07:00-20:00"},
         "<ScheduleCondition xsi:type=\"sv:Weekly\"><StartTime>07:00:00</StartTime>"
         "<EndTime>20:00:00</EndTime><WeekDays><Monday>true</Monday><Tuesday>true</Tuesday>"
         "<Wednesday>true</Wednesday><Thursday>true</Thursday><Friday>true</Friday>"
         "<Saturday>false</Saturday><Sunday>true</Sunday></WeekDays></ScheduleCondition>"},
        {{"--schedule", "calendar 2026-12-24T00:00/2026-12-26T23:59"},
         "<ScheduleCondition xsi:type=\"sv:Calendar\"><StartTime>00:00:00</StartTime>"
         "<EndTime>23:59:00</EndTime><StartDate>2026-12-24</StartDate>"
         "<EndDate>2026-12-26</EndDate></ScheduleCondition>"},
        {{"--schedule", "@\"Office hours\"", "--schedule-object", "Office hours"},
         "<ScheduleCondition xsi:type=\"sv:ScheduleObjectRef\"><Id>501</Id></ScheduleCondition>"},
    };
    const auto original = ReadBytes(file);
    for (const ConditionRow& row : rows) {
        SCOPED_TRACE(Joined(row.options));
        WriteBytes(file, original);
        const ToolResult added = Run("add", row.options);
        ASSERT_EQ(0, added.exitStatus) << added.err;
        EXPECT_EQ(Conditions(row.conditions), ConditionsOf(file, "New"));
        EXPECT_EQ(kPassFilter, ActionOf(file, "New"));
        EXPECT_TRUE(XmllintAccepts(ReadBytes(file)));
    }
}

TEST_F(RuleContent, ConditionsKeepTheSchemaOrder) {
    const ToolResult added =
        Run("add", {"--destination", "10.2.0.1", "--service", "proto/50", "--source", "10.1.0.1",
                    "--schedule", "daily 01:00-02:00"});
    ASSERT_EQ(0, added.exitStatus) << added.err;
    EXPECT_EQ(Conditions("<ScheduleCondition xsi:type=\"sv:Daily\"><StartTime>01:00:00</StartTime>"
                         "<EndTime>02:00:00</EndTime></ScheduleCondition>" +
                         Public(Host("IpAddress", Value("10.1.0.1"))) +
                         "<ServiceCondition xsi:type=\"sv:ProtocolCondition\"><Protocol>50"
                         "</Protocol></ServiceCondition><Destination "
                         "xsi:type=\"sv:PublicNetwork\">" +
                         Host("IpAddress", Value("10.2.0.1")) + "</Destination>"),
              ConditionsOf(file, "New"));
    EXPECT_TRUE(XmllintAccepts(ReadBytes(file)));
}

TEST_F(RuleContent, FilterFlagsAndTranslationsAreWritten) {
    ASSERT_EQ(0, Run("add", {"--action", "drop", "--stateless", "--no-packet-log",
                             "--no-connection-log", "--both-ways", "--disabled", "--match-all"})
                     .exitStatus);
    EXPECT_EQ(
        "<Action IsBidirectional=\"true\" IsConnectionLoggingEnabled=\"false\" "
        "IsConnectionStateless=\"true\" IsPacketLoggingEnabled=\"false\" xsi:type=\"sv:Filter\">"
        "<FilteringAction>Drop</FilteringAction></Action>",
        ActionOf(file, "New"));
    EXPECT_EQ("<Rule IsActive=\"false\" xsi:type=\"sv:TransitRule\">", RuleTagOf(file, "New"));
    EXPECT_EQ("<Rule IsActive=\"true\" xsi:type=\"sv:NatRule\">", RuleTagOf(file, "Hide"));

    const ToolResult nat =
        RunFwpolicy({"rule", "add", file.string(), "--section", "nat", "--name", "Publish",
                     "--translate-source", "203.0.113.10", "--translate-destination", "172.16.5.10",
                     "--translate-port", "443", "--to-outbound-interface"});
    ASSERT_EQ(0, nat.exitStatus) << nat.err;
    EXPECT_EQ(
        "<Action IsTranslatedIntoOutboundInterface=\"true\" xsi:type=\"sv:Translation\">"
        "<SourceIp>" +
            Value("203.0.113.10") + "</SourceIp><DestinationIp>" + Value("172.16.5.10") +
            "</DestinationIp><DestinationPort>" + Value("443") + "</DestinationPort></Action>",
        ActionOf(file, "Publish"));
    EXPECT_TRUE(XmllintAccepts(ReadBytes(file)));
}

struct SetRow {
    std::vector<std::string> options;
    std::string conditions;
};

TEST_F(RuleContent, SetAddsToReplacesAndClearsConditions) {
    const std::string first = Host("IpAddress", Value("10.1.0.1"));
    const std::string second = Host("IpAddress", Value("10.1.0.2"));
    const std::string ssh = Tcp(Port("DestinationPort", "22"));
    const SetRow rows[] = {
        {{"--source", "10.1.0.2"}, Public(first + second) + ssh},
        {{"--clear-source", "--source", "10.1.0.2"}, Public(second) + ssh},
        {{"--clear-source"}, ssh},
        {{"--clear-source", "--source", "vpn-node:7"}, Private(Vpn("VpnNodeId", Value("7"))) + ssh},
        {{"--service", "gre"},
         Public(first) + ssh +
             "<ServiceCondition xsi:type=\"sv:ProtocolCondition\"><Protocol>47</Protocol>"
             "</ServiceCondition>"},
        {{"--clear-services", "--schedule", "daily 08:00-09:00"},
         "<ScheduleCondition xsi:type=\"sv:Daily\"><StartTime>08:00:00</StartTime>"
         "<EndTime>09:00:00</EndTime></ScheduleCondition>" +
             Public(first)},
        // An entry the rule holds, or one given twice, is listed once.
        {{"--source", "10.1.0.2", "--source", "10.1.0.1", "--source", "10.1.0.2"},
         Public(first + second) + ssh},
        {{"--service", "tcp/22", "--service", "gre", "--service", "gre"},
         Public(first) + ssh +
             "<ServiceCondition xsi:type=\"sv:ProtocolCondition\"><Protocol>47</Protocol>"
             "</ServiceCondition>"},
    };
    const ToolResult added = Run("add", {"--source", "10.1.0.1", "--service", "tcp/22"});
    ASSERT_EQ(0, added.exitStatus) << added.err;
    const auto original = ReadBytes(file);
    for (const SetRow& row : rows) {
        SCOPED_TRACE(Joined(row.options));
        WriteBytes(file, original);
        std::vector<std::string> options = {"--section", "transit", "--index", "1"};
        options.insert(options.end(), row.options.begin(), row.options.end());
        const ToolResult set = Run("set", options);
        ASSERT_EQ(0, set.exitStatus) << set.err;
        EXPECT_EQ(Conditions(row.conditions), ConditionsOf(file, "New"));
        EXPECT_TRUE(XmllintAccepts(ReadBytes(file)));
    }
}

TEST_F(RuleContent, SetOfEntriesTheRuleHoldsChangesNothing) {
    ASSERT_EQ(0, Run("add", {"--source", "10.1.0.1", "--service", "tcp/22", "--schedule",
                             "daily 08:00-09:00"})
                     .exitStatus);
    const auto before = ReadBytes(file);
    const ToolResult set =
        Run("set", {"--section", "transit", "--index", "1", "--source", "10.1.0.1", "--service",
                    "tcp/22", "--schedule", "daily 08:00-09:00"});
    EXPECT_EQ(0, set.exitStatus) << set.err;
    EXPECT_EQ("fwpolicy: " + file.string() + ": nothing to change; the file is left as it was\n",
              set.err);
    EXPECT_EQ(before, ReadBytes(file));
}

TEST_F(RuleContent, SetFindsTheRuleByIdAndChangesNameAndAction) {
    const ToolResult set = Run("set", {"--id", "200001", "--name", "Büro → DMZ", "--action", "pass",
                                       "--both-ways", "--source", "10.1.0.1"});
    ASSERT_EQ(0, set.exitStatus) << set.err;
    EXPECT_EQ(Conditions(Public(Host("IpAddress", Value("10.1.0.1")))),
              ConditionsOf(file, "Büro → DMZ"));
    EXPECT_EQ(
        "<Action IsBidirectional=\"true\" IsConnectionLoggingEnabled=\"true\" "
        "IsConnectionStateless=\"false\" IsPacketLoggingEnabled=\"true\" xsi:type=\"sv:Filter\">"
        "<FilteringAction>Pass</FilteringAction></Action>",
        ActionOf(file, "Büro → DMZ"));

    ASSERT_EQ(0, Run("set", {"--id", "200001", "--one-way", "--enabled"}).exitStatus);
    EXPECT_EQ(kPassFilter, ActionOf(file, "Büro → DMZ"));
}

struct RefusedRow {
    std::string verb;
    std::vector<std::string> options;
    std::string message;  // stderr after "fwpolicy: FILE: " or the verb
    std::string section = "transit";
};

TEST_F(RuleContent, RefusedEntriesNameTheBadPartAndLeaveTheFile) {
    const RefusedRow rows[] = {
        {"add", {"--source", "@Nope"}, "--source: no named object \"Nope\""},
        {"add",
         {"--source-object", "Web"},
         "--source: \"Web\" is a service object, not an ip, interface or vpn object"},
        {"add",
         {"--service-object", "Office LAN"},
         "--service-object: \"Office LAN\" is an ip object, not a service object"},
        {"add",
         {"--schedule", "@Web"},
         "--schedule: \"Web\" is a service object, not a schedule object"},
        {"add",
         {"--source", "vpn-node:5", "--source", "10.0.0.1"},
         "--source: '10.0.0.1' cannot stand in a private (VPN) side"},
        {"add",
         {"--source", "interface:eth0", "--source", "@Outside"},
         "--source: a side names at most one interface; '@\"Outside\"' is a second one"},
        {"set",
         {"--id", "200001"},
         "nothing to change: give --name, a condition (--source, --service, ...), --clear-..., "
         "or an action option"},
        {"set", {"--id", "200001", "--name", ""}, "a rule needs a non-empty name"},
        {"set", {"--id", "99"}, "no rule has id 99"},
        {"set",
         {"--section", "nat", "--index", "0", "--both-ways"},
         "nat rules translate; --action, --stateless and the log and direction flags belong to "
         "filter rules"},
        {"set",
         {"--id", "200001", "--source", "vpn-node:4", "--source", "10.0.0.1"},
         "--source: '10.0.0.1' cannot stand in a private (VPN) side"},
    };
    const auto original = ReadBytes(file);
    for (const RefusedRow& row : rows) {
        SCOPED_TRACE(row.verb + " " + Joined(row.options));
        const ToolResult refused = Run(row.verb, row.options, row.section);
        EXPECT_EQ(1, refused.exitStatus);
        EXPECT_EQ("fwpolicy: " + file.string() + ": " + row.message + "\n", refused.err);
        EXPECT_TRUE(original == ReadBytes(file)) << "the file changed";
        EXPECT_EQ(std::vector<std::string>{"policy.xml"}, DirectoryEntries(dir.path()));
    }
}

// Text that fits no document is a usage error, found before the file is
// read: the verb is named, not the file.
TEST_F(RuleContent, TextThatFitsNoRuleIsAUsageError) {
    const RefusedRow rows[] = {
        {"add",
         {"--source", "10.1.0.300"},
         "--source: bad address '10.1.0.300': '300' is not a number from 0 to 255"},
        {"add",
         {"--destination", "10.1.0.0/33"},
         "--destination: bad address '10.1.0.0/33': prefix length '33' is not a number from 0 to "
         "32"},
        {"add",
         {"--source", "allclients"},
         "--source: unknown system object 'allclients' (did you mean AllClients?)"},
        {"add",
         {"--service", "tcp/70000"},
         "--service: bad service 'tcp/70000': port '70000' is not a number from 0 to 65535"},
        {"add",
         {"--service", "foo"},
         "--service: bad service 'foo': 'foo' is not tcp, udp, icmp, icmpv6, proto/N or a known "
         "protocol name"},
        {"add",
         {"--schedule", "weekly mon-fry 07:00-20:00"},
         "--schedule: bad schedule 'weekly mon-fry 07:00-20:00': day 'fry' is not one of mon tue "
         "wed thu fri sat sun"},
        {"add",
         {"--exclude-source", "10.1.0.9"},
         "--exclude-source: a rule's source lists no exclusions; put the hosts to leave out in "
         "the exclusions of an ip object and give that object with --source-object"},
        {"add",
         {"--translate-source", "10.0.0.1"},
         "only nat rules translate; the --translate-... and outbound-interface options belong "
         "to them"},
        {"add",
         {"--stateless"},
         "nat rules translate; --action, --stateless and the log and direction flags belong to "
         "filter rules",
         "nat"},
        {"add",
         {"--translate-port", "99999"},
         "--translate-port: '99999' is not a port number from 0 to 65535",
         "nat"},
    };
    const auto original = ReadBytes(file);
    for (const RefusedRow& row : rows) {
        SCOPED_TRACE(row.verb + " " + Joined(row.options));
        const ToolResult refused = Run(row.verb, row.options, row.section);
        EXPECT_EQ(2, refused.exitStatus);
        EXPECT_EQ("fwpolicy rule add: " + row.message + " (see 'fwpolicy help rule add')\n",
                  refused.err);
        EXPECT_TRUE(original == ReadBytes(file)) << "the file changed";
    }
}

TEST_F(RuleContent, SetOntoASideOfTheOtherKindAsksForClear) {
    ASSERT_EQ(0, Run("set", {"--id", "200001", "--source", "10.1.0.1"}).exitStatus);
    const auto before = ReadBytes(file);
    const ToolResult refused = Run("set", {"--id", "200001", "--source", "vpn-node:4"});
    EXPECT_EQ(1, refused.exitStatus);
    EXPECT_EQ("fwpolicy: " + file.string() +
                  ": --source: the rule's source is the public side; give --clear-source to "
                  "replace it\n",
              refused.err);
    EXPECT_TRUE(before == ReadBytes(file)) << "the file changed";
}

}  // namespace
}  // namespace fwcommon::test
