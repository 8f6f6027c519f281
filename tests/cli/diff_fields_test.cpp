// fwpolicy diff on pairs of policies that differ in one field: each pair
// reports that field, in the words the editor reads, and nothing else.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;

const char* const kBase = "tests/data/cli/edit-base.xml";

struct Replacement {
    std::string from;  // occurs exactly once in the base document
    std::string to;
};

struct FieldRow {
    std::string what;
    std::vector<Replacement> edits;
    std::string report;  // all that `diff BASE CHANGED` prints
};

std::string Changed(std::string text, const std::vector<Replacement>& edits) {
    for (const Replacement& edit : edits) {
        const auto at = text.find(edit.from);
        EXPECT_NE(std::string::npos, at) << edit.from;
        EXPECT_EQ(std::string::npos, text.find(edit.from, at + 1)) << "not unique: " << edit.from;
        if (at != std::string::npos)
            text.replace(at, edit.from.size(), edit.to);
    }
    return text;
}

const char* const kTunnel =
    "rule changed: tunnel 200004 (policy) \"Tunnel the LAN to head office\"\n";
const char* const kLocalAdmin =
    "rule changed: local 200001 (policy) \"Administration from the LAN\"\n";
const char* const kLocalDrop =
    "rule changed: local 2000000001 (post) \"Drop everything else to the node\"\n";
const char* const kHeadOffice =
    "rule changed: vpn 200002 (policy) \"Head office to the LAN during office hours\"\n";
const char* const kInternet = "rule changed: transit 200003 (policy) \"LAN to the Internet\"\n";
const char* const kBackups =
    "rule changed: transit 300003 (user) \"Backups to the DMZ at night\"\n";
const char* const kGre = "rule changed: transit 2000000002 (post) \"Block GRE from outside\"\n";
const char* const kHide =
    "rule changed: nat 200005 (policy) \"Hide the LAN behind the outside address\"\n";
const char* const kPublish = "rule changed: nat 300004 (user) \"Publish the web server\"\n";

std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line;
    return text;
}

const std::vector<FieldRow>& RuleRows() {
    static const std::vector<FieldRow> rows = {
        {"section",
         {{"sv:TunnelingRule", "sv:TransitRule"}, {"TunnelingSection", "TransitSection"}},
         "rule changed: transit 200004 (policy) \"Tunnel the LAN to head office\"\n"
         "  section: tunnel → transit\n"},
        {"high bits of the rule id",
         {{"<RuleId>200004</RuleId>", "<RuleId>4295167300</RuleId>"}},
         Lines({kTunnel, "  id: 200004 → 4295167300\n"})},
        {"name",
         {{"<Name>Ping the node</Name>", "<Name>Ping the box</Name>"}},
         "rule changed: local 300001 (user) \"Ping the box\"\n"
         "  name: \"Ping the node\" → \"Ping the box\"\n"},
        {"active",
         {{"<Rule IsActive=\"false\"", "<Rule IsActive=\"true\""}},
         Lines({kLocalDrop, "  active: no → yes\n"})},
        {"position",
         {{"<OrderId>300001</OrderId>", "<OrderId>300009</OrderId>"}},
         Lines({kLocalAdmin, "  moved 0 → 2\n"})},
        {"action",
         {{"IsPacketLoggingEnabled=\"false\" xsi:type=\"sv:Filter\">\n        "
           "<FilteringAction>Drop",
           "IsPacketLoggingEnabled=\"false\" xsi:type=\"sv:Filter\">\n        "
           "<FilteringAction>Pass"}},
         Lines({kLocalDrop, "  action: drop → pass\n"})},
        {"stateless",
         {{"IsConnectionStateless=\"true\"", "IsConnectionStateless=\"false\""}},
         Lines({kBackups, "  stateless: yes → no\n"})},
        {"packet log",
         {{"IsPacketLoggingEnabled=\"false\"", "IsPacketLoggingEnabled=\"true\""}},
         Lines({kLocalDrop, "  packet-log: no → yes\n"})},
        {"connection log",
         {{"IsBidirectional=\"true\" IsConnectionLoggingEnabled=\"true\"",
           "IsBidirectional=\"true\" IsConnectionLoggingEnabled=\"false\""}},
         Lines({kHeadOffice, "  connection-log: yes → no\n"})},
        {"both ways",
         {{"IsBidirectional=\"true\"", "IsBidirectional=\"false\""}},
         Lines({kHeadOffice, "  both-ways: yes → no\n"})},
        {"filter becomes translation",
         {{"<Action IsTranslatedIntoOutboundInterface=\"true\" xsi:type=\"sv:Translation\"/>",
           "<Action xsi:type=\"sv:Filter\"><FilteringAction>Drop</FilteringAction></Action>"}},
         Lines({kHide, "  action: translate to-outbound-interface → drop\n"})},
        {"translated source",
         {{"<SourceIp>\n          <Value>203.0.113.10",
           "<SourceIp>\n          <Value>203.0.113.11"}},
         Lines({kPublish, "  translate-source: 203.0.113.10 → 203.0.113.11\n"})},
        {"translated destination",
         {{"<Value>172.16.5.10</Value>\n        </DestinationIp>",
           "<Value>172.16.5.11</Value>\n        </DestinationIp>"}},
         Lines({kPublish, "  translate-destination: 172.16.5.10 → 172.16.5.11\n"})},
        {"translated port taken away",
         {{"<DestinationPort>\n          <Value>443</Value>\n        </DestinationPort>\n", ""}},
         Lines({kPublish, "  translate-port: 443 → (none)\n"})},
        {"outbound interface",
         {{"IsTranslatedIntoOutboundInterface=\"true\"",
           "IsTranslatedIntoOutboundInterface=\"false\""}},
         Lines({kHide, "  to-outbound-interface: yes → no\n"})},
        {"source",
         {{"<Value>eth1</Value>", "<Value>eth2</Value>"}},
         Lines({kInternet,
                "  source: interface:eth1, @\"Office LAN\" → interface:eth2, @\"Office LAN\"\n"})},
        {"destination",
         {{"<Value>backup.example.com</Value>", "<Value>backup2.example.com</Value>"}},
         Lines({kBackups,
                "  destination: interface:172.16.5.1-172.16.5.254, @\"DMZ web server\", "
                "backup.example.com → interface:172.16.5.1-172.16.5.254, @\"DMZ web server\", "
                "backup2.example.com\n"})},
        {"services",
         {{"<Value>873</Value>", "<Value>874</Value>"}},
         Lines({kBackups, "  services: tcp/873 → tcp/874\n"})},
        {"schedules",
         {{"<StartTime>07:00:00</StartTime>", "<StartTime>06:00:00</StartTime>"}},
         Lines({kInternet,
                "  schedules: weekly mon-sat 07:00-20:00 → weekly mon-sat 06:00-20:00\n"})},
        {"week days",
         {{"<Saturday>true</Saturday>", "<Saturday>false</Saturday>"}},
         Lines({kInternet,
                "  schedules: weekly mon-sat 07:00-20:00 → weekly mon-fri 07:00-20:00\n"})},
        {"Reserved1",
         {{"Reserved1=\"false\"", "Reserved1=\"true\""}},
         Lines({kGre, "  Reserved1: no → yes\n"})},
        {"Reserved2", {{" Reserved2=\"true\"", ""}}, Lines({kGre, "  Reserved2: yes → (none)\n"})},
        {"Reserved3",
         {{"Reserved3=\"migrated\"", "Reserved3=\"moved\""}},
         "rule changed: vpn 300002 (user) \"Remote staff by node and template\"\n"
         "  Reserved3: migrated → moved\n"},
        {"attribute of a condition the tool does not show",
         {{"<IpHostCondition xsi:type=\"sv:DomainName\">",
           "<IpHostCondition Reserved=\"x\" xsi:type=\"sv:DomainName\">"}},
         Lines({kBackups,
                "  destination: interface:172.16.5.1-172.16.5.254, @\"DMZ web server\", "
                "backup.example.com → interface:172.16.5.1-172.16.5.254, @\"DMZ web server\", "
                "backup.example.com (attributes the tool does not show differ)\n"})},
        {"creation type, which is part of the rule's identity",
         {{"<Name>Ping the node</Name>\n      <CreationType>User",
           "<Name>Ping the node</Name>\n      <CreationType>Policy"}},
         "rule removed: local 300001 (user) \"Ping the node\"\n"
         "rule added: local 300001 (policy) \"Ping the node\"\n"},
        {"order id that keeps the order",
         {{"<OrderId>300003</OrderId>", "<OrderId>300099</OrderId>"}},
         ""},
    };
    return rows;
}

const std::vector<FieldRow>& ObjectAndOptionRows() {
    static const std::vector<FieldRow> rows = {
        {"object name of a referenced object",
         {{"<Name>Web</Name>", "<Name>WWW</Name>"}},
         "object changed: service 401 (policy) \"WWW\"\n  name: \"Web\" → \"WWW\"\n"},
        {"object creation type",
         {{"<Id>302</Id>\n      <CreationType>User", "<Id>302</Id>\n      <CreationType>Policy"}},
         "object changed: vpn 302 (policy) \"Remote staff\"\n  creation type: user → policy\n"},
        {"ip inclusions",
         {{"<Value>172.16.5.10</Value>\n      </Inclusion>",
           "<Value>172.16.5.11</Value>\n      </Inclusion>"}},
         "object changed: ip 102 (policy) \"DMZ web server\"\n"
         "  inclusions: 172.16.5.10, www.example.com → 172.16.5.11, www.example.com\n"},
        {"ip exclusions",
         {{"<Value>192.168.10.254</Value>", "<Value>192.168.10.253</Value>"}},
         "object changed: ip 101 (policy) \"Office LAN\"\n"
         "  exclusions: 192.168.10.200-192.168.10.254 → 192.168.10.200-192.168.10.253\n"},
        {"interface inclusions",
         {{"<Value>eth0</Value>", "<Value>eth3</Value>"}},
         "object changed: interface 201 (policy) \"Outside\"\n"
         "  inclusions: interface:eth0, interface:203.0.113.10 → interface:eth3, "
         "interface:203.0.113.10\n"},
        {"interface exclusions",
         {{"<Value>eth0.99</Value>", "<Value>eth0.98</Value>"}},
         "object changed: interface 201 (policy) \"Outside\"\n"
         "  exclusions: interface:eth0.99 → interface:eth0.98\n"},
        {"vpn inclusions",
         {{"<Template>HQ-*</Template>", "<Template>HQ-A*</Template>"}},
         "object changed: vpn 301 (policy) \"Head office\"\n"
         "  inclusions: vpn-network:12, vpn-name:HQ-*, AllCoordinators → vpn-network:12, "
         "vpn-name:HQ-A*, AllCoordinators\n"},
        {"vpn exclusions",
         {{"<Value>1207</Value>", "<Value>1208</Value>"}},
         "object changed: vpn 301 (policy) \"Head office\"\n"
         "  exclusions: vpn-node:1207 → vpn-node:1208\n"},
        {"service inclusions",
         {{"<Value>80</Value>", "<Value>8080</Value>"}},
         "object changed: service 401 (policy) \"Web\"\n"
         "  inclusions: tcp/80, tcp/443, udp/443 → tcp/8080, tcp/443, udp/443\n"},
        {"service exclusions",
         {{"<Value>994</Value>", "<Value>996</Value>"}},
         "object changed: service 402 (policy) \"Mail\"\n"
         "  exclusions: tcp/994 → tcp/996\n"},
        {"schedule inclusions",
         {{"<EndTime>18:30:00</EndTime>", "<EndTime>18:00:00</EndTime>"}},
         "object changed: schedule 501 (policy) \"Office hours\"\n"
         "  inclusions: weekly mon-fri 08:00-18:30 → weekly mon-fri 08:00-18:00\n"},
        {"schedule exclusions",
         {{"<EndDate>2026-12-26</EndDate>", "<EndDate>2026-12-27</EndDate>"}},
         "object changed: schedule 501 (policy) \"Office hours\"\n"
         "  exclusions: calendar 2026-12-24T00:00/2026-12-26T23:59:59 → calendar "
         "2026-12-24T00:00/2026-12-27T23:59:59\n"},
        {"object Reserved",
         {{"<IpObject Reserved=\"imported\">", "<IpObject Reserved=\"merged\">"}},
         "object changed: ip 103 (user) \"Büro München\"\n  Reserved: imported → merged\n"},
        {"option value",
         {{"<Value>2</Value>", "<Value>3</Value>"}},
         "option changed: \"LogLevel\" (policy)\n  value: \"2\" → \"3\"\n"},
        {"option TargetPlatform",
         {{"TargetPlatform=\"linux-x86_64\"", "TargetPlatform=\"linux-arm64\""}},
         "option changed: \"DefaultAction\" (user)\n"
         "  TargetPlatform: linux-x86_64 → linux-arm64\n"},
        {"option TargetApplication",
         {{"<Option>\n      <Name>LogLevel",
           "<Option TargetApplication=\"fwd\">\n      <Name>LogLevel"}},
         "option changed: \"LogLevel\" (policy)\n  TargetApplication: (none) → fwd\n"},
        {"option Reserved",
         {{"<Option TargetPlatform", "<Option Reserved=\"r\" TargetPlatform"}},
         "option changed: \"DefaultAction\" (user)\n  Reserved: (none) → r\n"},
        {"option creation type, which is part of the option's identity",
         {{"<Name>LogLevel</Name>\n      <Value>2</Value>\n      <CreationType>Policy",
           "<Name>LogLevel</Name>\n      <Value>2</Value>\n      <CreationType>User"}},
         "option removed: \"LogLevel\" (policy)\noption added: \"LogLevel\" (user)\n"},
        {"properties, which are not compared",
         {{"<Version>1.0</Version>", "<Version>1.1</Version>"}},
         ""},
    };
    return rows;
}

void ExpectEachRowReportsItsFieldAlone(const std::vector<FieldRow>& rows) {
    const TempDir dir;
    const std::string base = ToString(ReadBytes(SourcePath(kBase)));
    const fs::path changed = dir.path() / "changed.xml";
    for (const FieldRow& row : rows) {
        SCOPED_TRACE(row.what);
        WriteBytes(changed, ToBytes(Changed(base, row.edits)));
        const ToolResult r = RunFwpolicy({"diff", kBase, changed.string()});
        EXPECT_EQ("", r.err);
        EXPECT_EQ(row.report.empty() ? 0 : 1, r.exitStatus);
        EXPECT_EQ(row.report, r.out);
    }
}

TEST(FwpolicyDiffFields, EachFieldOfARuleIsReportedAlone) {
    ExpectEachRowReportsItsFieldAlone(RuleRows());
}

TEST(FwpolicyDiffFields, EachFieldOfAnObjectOrOptionIsReportedAlone) {
    ExpectEachRowReportsItsFieldAlone(ObjectAndOptionRows());
}

}  // namespace
}  // namespace fwcommon::test
