// Flows over small hand-written policies: one row per flow with, for each
// section asked, every rule the answer lists ("2?" may match, "3m"
// matches, "1mr" matches through the reverse direction of a both-ways
// rule) and the section's decision, so that a missing, an extra and a
// wrongly answered rule all fail.

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/PolicyDocument.h>
#include <fwcommon/PolicyQuery.h>

#include "common/TestFiles.h"
#include "lint/QueryPolicyText.h"

namespace fwcommon::test {
namespace {

using namespace lint;

// A flow written shortly: endpoints "10.0.0.1", "node:1301", "network:12",
// "name:gw-1", "sys:AllClients" (empty: not given).
struct FlowText {
    std::string from;
    std::string to;
    std::string in;
    std::string out;
    std::optional<QueryService> service;
    std::string at;  // "2026-12-07 10:00:00"
};

QueryEndpoint Endpoint(const std::string& text) {
    QueryEndpoint e;
    const auto prefixed = [&](const char* prefix) { return text.rfind(prefix, 0) == 0; };
    const auto rest = [&](std::size_t n) { return std::wstring(text.begin() + n, text.end()); };
    if (text.empty()) {
        return e;
    }
    if (prefixed("node:")) {
        e.kind = QueryEndpoint::Kind::eVpnNode;
        e.id = std::stoll(text.substr(5));
    } else if (prefixed("network:")) {
        e.kind = QueryEndpoint::Kind::eVpnNetwork;
        e.id = std::stoll(text.substr(8));
    } else if (prefixed("name:")) {
        e.kind = QueryEndpoint::Kind::eNodeName;
        e.text = rest(5);
    } else if (prefixed("sys:")) {
        e.kind = QueryEndpoint::Kind::eSystemObject;
        e.text = rest(4);
    } else {
        e.kind = QueryEndpoint::Kind::eAddress;
        e.text = rest(0);
    }
    return e;
}

QueryFlow FlowOf(const FlowText& t) {
    QueryFlow f;
    f.from = Endpoint(t.from);
    f.to = Endpoint(t.to);
    if (!t.in.empty()) {
        f.inInterface = std::wstring(t.in.begin(), t.in.end());
    }
    if (!t.out.empty()) {
        f.outInterface = std::wstring(t.out.begin(), t.out.end());
    }
    f.service = t.service;
    if (!t.at.empty()) {
        QueryTime time;
        time.year = std::stoll(t.at.substr(0, 4));
        time.month = std::stoll(t.at.substr(5, 2));
        time.day = std::stoll(t.at.substr(8, 2));
        time.secondOfDay = std::stoll(t.at.substr(11, 2)) * 3600 +
                           std::stoll(t.at.substr(14, 2)) * 60 + std::stoll(t.at.substr(17, 2));
        f.at = time;
    }
    return f;
}

FlowText F(std::string from, std::string to, std::string in, std::string out,
           std::optional<QueryService> service, std::string at = "") {
    return FlowText{std::move(from), std::move(to), std::move(in),
                    std::move(out),  service,       std::move(at)};
}

QueryService Svc(std::int64_t protocol, std::optional<std::int64_t> destination = std::nullopt,
                 std::optional<std::int64_t> source = std::nullopt) {
    return QueryService{protocol, source, destination};
}
QueryService TcpTo(std::int64_t port) {
    return Svc(6, port);
}

std::string Brief(const QuerySectionResult& s) {
    std::string text;
    for (const QueryRuleResult& r : s.rules) {
        text += std::to_string(r.position) + (r.answer == QueryAnswer::eMatches ? "m" : "?") +
                (r.reverse ? "r" : "") + " ";
    }
    return text + "=> " + QueryDecisionName(s.decision);
}

RuleType SectionNamed(const std::string& name) {
    const std::map<std::string, RuleType> names = {{"local", eLocalRules},
                                                   {"vpn", eVPNRules},
                                                   {"transit", eTransitRules},
                                                   {"tunnel", eTunnelRules},
                                                   {"nat", eNATRules}};
    return names.at(name);
}

// Hosts: nested objects, exclusions (of addresses, of objects, of a domain
// name), IPv6, an inactive rule, service objects within service objects.
const std::string kHosts =
    Policy(ServiceObject(11, Tcp(1000, 2000), Tcp(1500, 1500)) +
               ServiceObject(10, Tcp(22, 22) + Udp(53, 53) + ServiceRef(11)) +
               IpObject(1, Net("10.1.0.0", "255.255.255.0"), Addr("10.1.0.1")) +
               IpObject(2, IpRef(1) + Span("10.2.0.10", "10.2.0.20")) +
               IpObject(4, Net("10.3.5.0", "255.255.255.0")) +
               IpObject(3, Net("10.3.0.0", "255.255.0.0"), IpRef(4)) +
               IpObject(5, Net("10.5.0.0", "255.255.0.0"), Domain("printer.example.com")),
           Local(1, Source(IpRef(1)) + ServiceRef(10)) + Local(2, Source(IpRef(2)) + Tcp(80, 80)) +
               Local(3, Source(IpRef(3)), "Drop") +
               Local(4, Tcp(22, 22) + Destination(Addr("2001:db8::10"))) +
               Local(5, "", "Drop", "IsActive=\"false\"") + Local(6, Source(IpRef(5))) +
               Local(7, "", "Drop"));

// System objects, domain names and interfaces of both sides.
const std::string kSystem = Policy(
    InterfaceObject(40, Nic("eth2") + Nic("eth3"), Nic("eth3")) +
        IpObject(6, IpSystem("AllClients") + Net("172.16.0.0", "255.240.0.0"), Addr("172.16.9.9")),
    Transit(1, Source(IpSystem("InternetIP")) + Tcp(443, 443)) +
        Transit(2, SourceOn(Nic("eth1"), Net("192.168.0.0", "255.255.0.0"))) +
        Transit(3, SourceOn(NicByIp("192.168.1.1"), ""), "Drop") +
        Transit(4, DestinationOn(Nic("eth0"), ""), "Drop") + Transit(5, Source(IpRef(6))) +
        Transit(6, SourceOn(NicRef(40), "")) +
        Transit(7, Source(Domain("gw.example.com")), "Drop") + Transit(8, "", "Drop"));

// System objects of the other kinds: an interface, a schedule and a
// service that the rule names itself, and objects of system objects less a
// value the flow can name.
const std::string kSystemKinds =
    Policy(ServiceObject(14, ServiceSystem("All"), Tcp(25, 25)) +
               InterfaceObject(41, NicSystem("MyNetwork"), Nic("eth3")),
           Local(1, ScheduleSystem("All") + Tcp(22, 22)) + Local(2, ServiceSystem("All"), "Drop") +
               Local(3, ServiceRef(14), "Drop") + Local(4, "") +
               Transit(1, SourceOn(NicSystem("MyNetwork"), "")) +
               Transit(2, SourceOn(NicRef(41), ""), "Drop") + Transit(3, "", "Drop"));

// VPN nodes, networks, name templates, a VPN object with an exclusion.
const std::string kVpn =
    Policy(VpnObject(30, VpnNetwork(13), VpnNode(1401)),
           Vpn(1, VpnSource(VpnNode(1301))) + Vpn(2, VpnSource(VpnNetwork(12)) + Tcp(22, 22)) +
               Vpn(3, VpnSource(VpnTemplate("gw-*")), "Drop") + Vpn(4, VpnSource(VpnRef(30))) +
               Vpn(5, VpnSource(VpnSystem("AllCoordinators")), "Drop") + Vpn(6, "", "Drop"));

// Protocols, ICMP, ports on both axes, a service object with an exclusion.
const std::string kServices = Policy(
    ServiceObject(12, AnyUdp(), Udp(53, 53)) +
        ServiceObject(13, ServiceSystem("All"), Icmp("Type=\"3\"")),
    Local(1, ServiceRef(13)) + Tunnel(1, Protocol(47)) + Tunnel(2, Icmp("Type=\"8\" Code=\"0\"")) +
        Tunnel(3, Icmp(""), "Drop") + Tunnel(4, Ports(17, 53, 53, 1024, 65535)) +
        Tunnel(5, ServiceRef(12), "Drop") + Tunnel(6, Tcp(8000, 8100)) + Tunnel(7, "", "Drop"));

// Weekly, daily and calendar windows, a window over midnight, a weekly
// object less a calendar span.
const std::string kSchedules =
    Policy(ScheduleObject(20, Weekly("08:00:00", "18:00:00", "1111100"),
                          Calendar("2026-12-24", "00:00:00", "2026-12-26", "23:59:59")) +
               ScheduleObject(21, Daily("22:00:00", "06:00:00")),
           Local(1, Weekly("00:00:00", "23:59:59", "0000011"), "Drop") +
               Local(2, Calendar("2026-12-31", "00:00:00", "2027-01-01", "23:59:59"), "Drop") +
               Local(3, ScheduleRef(20) + Tcp(3389, 3389)) +
               Local(4, Daily("08:00:00", "18:00:00") + Tcp(22, 22)) +
               Local(5, ScheduleRef(21), "Drop") + Local(6, ""));

// A both-ways rule and a one-way one.
const std::string kBoth = Policy(
    "", Transit(1, Source(Addr("10.0.0.5")) + Tcp(3389, 3389) + Destination(Addr("10.9.0.5")),
                "Pass", "IsBidirectional=\"true\"") +
            Transit(2, Source(Addr("10.0.0.6")) + Tcp(3389, 3389) + Destination(Addr("10.9.0.6")),
                    "Drop") +
            Transit(3, "", "Drop"));

// Address and port translation, translation into the outbound interface.
const std::string kNat =
    Policy("", Nat(1, Tcp(80, 80) + Destination(Addr("203.0.113.10")),
                   ToAddress("DestinationIp", "10.0.0.80") + ToAddress("DestinationPort", "8080")) +
                   Nat(2, Source(Net("10.0.0.0", "255.0.0.0")), "",
                       "IsTranslatedIntoOutboundInterface=\"true\""));

struct Row {
    const char* name;
    const std::string* policy;
    FlowText flow;
    std::string expected;  // "section: brief" for each section asked, "; " between
    bool all = false;
};

const QueryService kGre = Svc(47);

std::vector<Row> Rows() {
    const std::string monday10 = "2026-12-07 10:00:00";
    return {
        // Hosts.
        {"address in an object less one address", &kHosts,
         F("10.1.0.12", "10.0.0.1", "", "", TcpTo(22)), "local: 1m => pass"},
        {"udp member of a service object", &kHosts, F("10.1.0.12", "10.0.0.1", "", "", Svc(17, 53)),
         "local: 1m => pass"},
        {"the excluded address", &kHosts, F("10.1.0.1", "10.0.0.1", "", "", TcpTo(22)),
         "local: 7m => drop"},
        {"port of a nested service object", &kHosts,
         F("10.1.0.12", "10.0.0.1", "", "", TcpTo(1200)), "local: 1m => pass"},
        {"port excluded from the nested service object", &kHosts,
         F("10.1.0.12", "10.0.0.1", "", "", TcpTo(1500)), "local: 7m => drop"},
        {"range of an object", &kHosts, F("10.2.0.15", "10.0.0.1", "", "", TcpTo(80)),
         "local: 2m => pass"},
        {"address through a nested object", &kHosts, F("10.1.0.12", "10.0.0.1", "", "", TcpTo(80)),
         "local: 2m => pass"},
        {"object less a nested object, outside it", &kHosts,
         F("10.3.1.1", "10.0.0.1", "", "", std::nullopt), "local: 3m => drop"},
        {"object less a nested object, inside it", &kHosts,
         F("10.3.5.7", "10.0.0.1", "", "", std::nullopt), "local: 7m => drop"},
        {"object less a domain name", &kHosts, F("10.5.1.1", "10.0.0.1", "", "", std::nullopt),
         "local: 6? 7m => depends"},
        {"object less a domain name, all", &kHosts, F("10.5.1.1", "10.0.0.1", "", "", std::nullopt),
         "local: 6? 7m => depends", true},
        {"source not given", &kHosts, F("", "10.0.0.1", "", "", TcpTo(22)),
         "local: 1? 3? 6? 7m => depends"},
        {"destination not given, no destination condition", &kHosts,
         F("10.1.0.12", "", "", "", TcpTo(22)), "local: 1m => pass"},
        {"IPv6 destination", &kHosts, F("2001:db8::5", "2001:db8::10", "", "", TcpTo(22)),
         "local: 4m => pass"},
        {"service not given", &kHosts, F("10.1.0.12", "10.0.0.1", "", "", std::nullopt),
         "local: 1? 2? 7m => depends"},
        {"every matching rule", &kHosts, F("10.1.0.12", "10.0.0.1", "", "", TcpTo(22)),
         "local: 1m 7m => pass", true},
        {"a VPN host on public sides", &kHosts, F("network:12", "10.0.0.1", "", "", TcpTo(22)),
         "local: 7m => drop"},
        {"inactive rule is skipped", &kHosts, F("10.9.9.9", "10.0.0.1", "", "", TcpTo(23)),
         "local: 7m => drop"},
        // System objects, domain names, interfaces.
        {"system object named by the flow", &kSystem, F("sys:InternetIP", "", "", "", TcpTo(443)),
         "transit: 1m => pass"},
        {"system object against addresses and interfaces", &kSystem,
         F("sys:InternetIP", "", "eth1", "", TcpTo(80)), "transit: 2? 3? 4? 5? 7? 8m => depends"},
        {"interface and network", &kSystem, F("192.168.5.5", "10.9.0.5", "eth1", "eth0", TcpTo(22)),
         "transit: 2m => pass"},
        {"interface by address, out-interface", &kSystem,
         F("192.168.5.5", "10.9.0.5", "eth7", "eth0", TcpTo(22)), "transit: 3? 4m => depends"},
        {"address that a system object may hold", &kSystem,
         F("10.9.9.9", "10.9.0.5", "eth7", "eth5", TcpTo(22)), "transit: 3? 5? 7? 8m => depends"},
        {"address of an object with a system object", &kSystem,
         F("172.16.1.1", "10.9.0.5", "eth2", "eth5", TcpTo(22)), "transit: 3? 5m => depends"},
        {"address excluded from an object with a system object", &kSystem,
         F("172.16.9.9", "10.9.0.5", "eth2", "eth5", TcpTo(22)), "transit: 3? 6? 7? 8m => depends"},
        {"host of a system object less an address", &kSystem,
         F("sys:AllClients", "10.9.0.5", "eth2", "eth5", TcpTo(22)),
         "transit: 3? 5? 6? 7? 8m => depends"},
        {"interface excluded from an interface object", &kSystem,
         F("10.9.9.9", "10.9.0.5", "eth3", "eth5", TcpTo(22)), "transit: 3? 5? 7? 8m => depends"},
        {"domain name against a system object", &kSystem,
         F("sys:MyNetwork", "10.9.0.5", "eth9", "eth5", TcpTo(22)),
         "transit: 3? 5? 7? 8m => depends"},
        {"interface system object", &kSystemKinds, F("10.0.0.1", "", "eth1", "", TcpTo(22)),
         "transit: 1? 2? 3m => depends"},
        {"interface system object, interface not given", &kSystemKinds,
         F("10.0.0.1", "", "", "", TcpTo(22)), "transit: 1? 2? 3m => depends"},
        {"interface excluded from an object of a system object", &kSystemKinds,
         F("10.0.0.1", "", "eth3", "", TcpTo(22)), "transit: 1? 3m => depends"},
        {"schedule system object at a given time", &kSystemKinds,
         F("", "", "", "", TcpTo(22), "2026-12-07 10:00:00"), "local: 1? 2? 3? 4m => depends"},
        {"service system object named by the rule", &kSystemKinds,
         F("", "", "", "", Svc(17, 53), "2026-12-07 10:00:00"), "local: 2? 3? 4m => depends"},
        {"port excluded from a service object of a system object", &kSystemKinds,
         F("", "", "", "", TcpTo(25)), "local: 2? 4m => depends"},
        // VPN hosts.
        {"VPN node", &kVpn, F("node:1301", "", "", "", TcpTo(80)), "vpn: 1m => pass"},
        {"another VPN node", &kVpn, F("node:1302", "", "", "", TcpTo(22)),
         "vpn: 2? 3? 4? 5? 6m => depends"},
        {"VPN network", &kVpn, F("network:12", "", "", "", TcpTo(22)), "vpn: 1? 2m => depends"},
        {"node name matching a template", &kVpn, F("name:GW-berlin", "", "", "", TcpTo(22)),
         "vpn: 1? 2? 3m => depends"},
        {"node name matching no template", &kVpn, F("name:office-1", "", "", "", TcpTo(22)),
         "vpn: 1? 2? 4? 5? 6m => depends"},
        {"VPN system object", &kVpn, F("sys:AllCoordinators", "", "", "", TcpTo(22)),
         "vpn: 1? 2? 3? 4? 5m => depends"},
        {"open host on private sides", &kVpn, F("10.1.1.1", "", "", "", TcpTo(22)),
         "vpn: 6m => drop"},
        {"network of a VPN object less a node", &kVpn, F("network:13", "", "", "", std::nullopt),
         "vpn: 1? 3? 4? 5? 6m => depends"},
        {"VPN node, all", &kVpn, F("node:1301", "", "", "", std::nullopt),
         "vpn: 1m 2? 3? 4? 5? 6m => pass", true},
        {"VPN node excluded from the VPN object", &kVpn, F("node:1401", "", "", "", TcpTo(80)),
         "vpn: 3? 5? 6m => depends"},
        // Services.
        {"gre", &kServices, F("", "", "", "", kGre), "tunnel: 1m => pass"},
        {"ICMP type and code", &kServices, F("", "", "", "", Svc(1, 0, 8)), "tunnel: 2m => pass"},
        {"ICMP type, code not given", &kServices, F("", "", "", "", Svc(1, std::nullopt, 8)),
         "tunnel: 2? 3m => depends"},
        {"other ICMP type", &kServices, F("", "", "", "", Svc(1, 1, 3)), "tunnel: 3m => drop"},
        {"both ports", &kServices, F("", "", "", "", Svc(17, 5000, 53)), "tunnel: 4m => pass"},
        {"source port not given", &kServices, F("", "", "", "", Svc(17, 5000)),
         "tunnel: 4? 5m => depends"},
        {"port excluded from a service object", &kServices, F("", "", "", "", Svc(17, 53)),
         "tunnel: 7m => drop"},
        {"port range", &kServices, F("", "", "", "", TcpTo(8050)), "tunnel: 6m => pass"},
        {"past the port range", &kServices, F("", "", "", "", TcpTo(8101)), "tunnel: 7m => drop"},
        {"service not given, protocols", &kServices, F("", "", "", "", std::nullopt),
         "tunnel: 1? 2? 3? 4? 5? 6? 7m => depends"},
        {"service system object less an ICMP type, inside it", &kServices,
         F("", "", "", "", Svc(1, 5, 3)), "local: => no rule matches"},
        {"service system object less an ICMP type, outside it", &kServices,
         F("", "", "", "", Svc(1, 0, 8)), "local: 1? => depends"},
        {"source port, destination outside", &kServices, F("", "", "", "", Svc(17, 53, 53)),
         "tunnel: 7m => drop"},
        // Schedules.
        {"daily window on a Monday", &kSchedules, F("", "", "", "", TcpTo(22), monday10),
         "local: 4m => pass"},
        {"weekend window", &kSchedules, F("", "", "", "", TcpTo(22), "2026-12-12 10:00:00"),
         "local: 1m => drop"},
        {"time not given", &kSchedules, F("", "", "", "", TcpTo(22)),
         "local: 1? 2? 4? 5? 6m => depends"},
        {"calendar span over the new year", &kSchedules,
         F("", "", "", "", TcpTo(22), "2026-12-31 10:00:00"), "local: 2m => drop"},
        {"weekly object less a calendar span", &kSchedules,
         F("", "", "", "", TcpTo(3389), "2026-12-08 09:00:00"), "local: 3m => pass"},
        {"weekly object less a calendar span, inside the span", &kSchedules,
         F("", "", "", "", TcpTo(3389), "2026-12-24 09:00:00"), "local: 5? 6m => depends"},
        {"outside the weekly object", &kSchedules,
         F("", "", "", "", TcpTo(3389), "2026-12-07 20:00:00"), "local: 5? 6m => depends"},
        {"last second of a window", &kSchedules,
         F("", "", "", "", TcpTo(22), "2026-12-07 18:00:00"), "local: 4m => pass"},
        {"first second after a window", &kSchedules,
         F("", "", "", "", TcpTo(22), "2026-12-07 18:00:01"), "local: 5? 6m => depends"},
        // Both ways.
        {"both-ways rule forward", &kBoth, F("10.0.0.5", "10.9.0.5", "", "", TcpTo(3389)),
         "transit: 1m => pass"},
        {"both-ways rule reverse", &kBoth, F("10.9.0.5", "10.0.0.5", "", "", Svc(6, 50000, 3389)),
         "transit: 1mr => pass"},
        {"both-ways rule reverse, port not given", &kBoth,
         F("10.9.0.5", "10.0.0.5", "", "", TcpTo(3389)), "transit: 1?r 3m => depends"},
        {"one-way rule reverse", &kBoth, F("10.9.0.6", "10.0.0.6", "", "", Svc(6, 50000, 3389)),
         "transit: 3m => drop"},
        {"one-way rule forward", &kBoth, F("10.0.0.6", "10.9.0.6", "", "", TcpTo(3389)),
         "transit: 2m => drop"},
        {"every section", &kBoth, F("10.0.0.5", "10.9.0.5", "", "", TcpTo(3389)),
         "local: => no rule matches; nat: => no rule matches; transit: 1m => pass; "
         "tunnel: => no rule matches; vpn: => no rule matches"},
        // NAT.
        {"destination translation", &kNat, F("198.51.100.7", "203.0.113.10", "", "", TcpTo(80)),
         "nat: 1m => translate"},
        {"outbound interface translation", &kNat, F("10.1.1.1", "198.51.100.7", "", "", TcpTo(443)),
         "nat: 2m => translate"},
        {"no translation", &kNat, F("198.51.100.7", "198.51.100.8", "", "", TcpTo(80)),
         "nat: => no rule matches"},
        {"translation depends on the destination", &kNat, F("10.1.1.1", "", "", "", TcpTo(80)),
         "nat: 1? 2m => depends"},
    };
}

TEST(QueryFlows, EveryRowAnswersAsExpected) {
    std::map<const std::string*, std::unique_ptr<Sarvo::PolicyType>> parsed;
    const std::vector<Row> rows = Rows();
    ASSERT_GE(rows.size(), 60u);
    for (const Row& row : rows) {
        auto& policy = parsed[row.policy];
        if (!policy) {
            policy = ParsePolicyDocument(ToBytes(*row.policy));
        }
        QueryOptions options;
        options.all = row.all;
        std::vector<std::string> sections;
        for (std::size_t at = 0; at < row.expected.size();) {
            const std::size_t colon = row.expected.find(':', at);
            sections.push_back(row.expected.substr(at, colon - at));
            options.sections.push_back(SectionNamed(sections.back()));
            const std::size_t next = row.expected.find("; ", colon);
            at = next == std::string::npos ? row.expected.size() : next + 2;
        }
        const auto results = QueryPolicy(*policy, nullptr, FlowOf(row.flow), options);
        ASSERT_EQ(sections.size(), results.size()) << row.name;
        std::string answer;
        for (std::size_t i = 0; i < results.size(); ++i) {
            answer += (i == 0 ? "" : "; ") + sections[i] + ": " + Brief(results[i]);
        }
        EXPECT_EQ(row.expected, answer) << row.name;
    }
}

const QueryRuleResult& OnlyRule(const std::vector<QuerySectionResult>& results, std::size_t i) {
    return results.at(0).rules.at(i);
}

std::vector<QuerySectionResult> Ask(const std::string& text, const QueryFlow& flow,
                                    RuleType section, bool explain = false,
                                    const Sarvo::PolicyType* shared = nullptr) {
    const auto policy = ParsePolicyDocument(ToBytes(text));
    QueryOptions options;
    options.sections = {section};
    options.explain = explain;
    return QueryPolicy(*policy, shared, flow, options);
}

std::vector<std::string> Lines(const std::vector<QueryReason>& reasons) {
    std::vector<std::string> out;
    for (const QueryReason& r : reasons) {
        const std::string text(r.text.begin(), r.text.end());
        out.push_back(std::string(2 * r.depth, ' ') + text + ": " + QueryAnswerName(r.answer));
    }
    return out;
}

// A dependency as text, with the kind of the condition it carries.
std::string DependencyLine(const QueryDependency& d) {
    const std::wstring text = QueryDependencyText(d);
    std::string line(text.begin(), text.end());
    const Sarvo::AbstractCondition* c = d.condition;
    if (dynamic_cast<const Sarvo::IpHostCondition*>(c) != nullptr) {
        line += " [host]";
    } else if (dynamic_cast<const Sarvo::InterfaceCondition*>(c) != nullptr) {
        line += " [interface]";
    } else if (dynamic_cast<const Sarvo::ServiceCondition*>(c) != nullptr) {
        line += " [service]";
    } else if (dynamic_cast<const Sarvo::ScheduleCondition*>(c) != nullptr) {
        line += " [schedule]";
    } else if (c != nullptr) {
        line += " [other]";
    }
    return line;
}

TEST(QueryFlows, MayMatchNamesWhatItDependsOn) {
    struct DependencyRow {
        const char* name;
        const std::string* policy;
        FlowText flow;
        RuleType section;
        std::size_t rule;      // among the listed rules
        std::string expected;  // the lines, "; " between
    };
    const std::string monday10 = "2026-12-07 10:00:00";
    const std::vector<DependencyRow> rows = {
        {"source not given", &kHosts, F("", "10.0.0.1", "", "", TcpTo(22)), eLocalRules, 0,
         "source: not given"},
        {"addresses of an interface", &kSystem,
         F("10.9.9.9", "10.9.0.5", "eth7", "eth5", TcpTo(22)), eTransitRules, 0,
         "in-interface: the addresses of interface \"eth7\""},
        {"host system object", &kSystem, F("10.9.9.9", "10.9.0.5", "eth7", "eth5", TcpTo(22)),
         eTransitRules, 1, "source: system object \"AllClients\" [host]"},
        {"domain name", &kSystem, F("10.9.9.9", "10.9.0.5", "eth7", "eth5", TcpTo(22)),
         eTransitRules, 2, "source: domain name \"gw.example.com\" [host]"},
        {"interface system object", &kSystemKinds, F("10.0.0.1", "", "eth1", "", TcpTo(22)),
         eTransitRules, 0, "in-interface: system object \"MyNetwork\" [interface]"},
        {"schedule system object", &kSystemKinds, F("", "", "", "", TcpTo(22), monday10),
         eLocalRules, 0, "schedule: system object \"All\" [schedule]"},
        {"service system object of the name a schedule one has", &kSystemKinds,
         F("", "", "", "", Svc(17, 53), monday10), eLocalRules, 0,
         "service: system object \"All\" [service]"},
        {"time not given", &kSchedules, F("", "", "", "", TcpTo(22)), eLocalRules, 0,
         "schedule: the time, not given (--at)"},
        {"reverse direction", &kBoth, F("10.9.0.5", "10.0.0.5", "", "", TcpTo(3389)), eTransitRules,
         0, "reverse direction: service: the ports, not all given"},
    };
    for (const DependencyRow& row : rows) {
        // The dependencies point into the document, which must outlive them.
        const auto policy = ParsePolicyDocument(ToBytes(*row.policy));
        QueryOptions options;
        options.sections = {row.section};
        const auto results = QueryPolicy(*policy, nullptr, FlowOf(row.flow), options);
        std::string lines;
        for (const QueryDependency& d : OnlyRule(results, row.rule).dependsOn) {
            lines += (lines.empty() ? "" : "; ") + DependencyLine(d);
        }
        EXPECT_EQ(row.expected, lines) << row.name;
    }
}

TEST(QueryFlows, ExplanationShowsTheMembersThatHoldTheFlow) {
    const auto r =
        Ask(kHosts, FlowOf(F("10.1.0.12", "10.0.0.1", "", "", TcpTo(1200))), eLocalRules, true);
    const std::vector<std::string> expected = {
        "schedule: matches",
        "  no condition: any: matches",
        "source: matches",
        "  ip object \"o1\" (Id 1): matches",
        "    includes 10.1.0.0/255.255.255.0: matches",
        "service: matches",
        "  service object \"s10\" (Id 10): matches",
        "    includes service object \"s11\" (Id 11): matches",
        "      includes tcp/1000-2000: matches",
        "destination: matches",
        "  no condition: any: matches",
    };
    EXPECT_EQ(expected, Lines(OnlyRule(r, 0).explanation));
    const auto excluded =
        Ask(kHosts, FlowOf(F("10.5.1.1", "10.0.0.1", "", "", std::nullopt)), eLocalRules, true);
    const std::vector<std::string> lines = Lines(OnlyRule(excluded, 0).explanation);
    EXPECT_NE(lines.end(),
              std::find(lines.begin(), lines.end(),
                        "    excludes domain name \"printer.example.com\": may match"));
}

TEST(QueryFlows, RulesSeeTheSharedObjects) {
    const auto shared =
        ParsePolicyDocument(ToBytes(Policy(IpObject(1, Net("10.1.0.0", "255.255.255.0")), "")));
    const std::string rules = Policy("", Local(1, Source(IpRef(1))) + Local(2, "", "Drop"));
    const QueryFlow flow = FlowOf(F("10.1.0.7", "", "", "", TcpTo(22)));
    EXPECT_EQ("1m => pass", Brief(Ask(rules, flow, eLocalRules, false, shared.get()).at(0)));
    EXPECT_EQ("1? 2m => depends", Brief(Ask(rules, flow, eLocalRules).at(0)))
        << "a reference to no object may match anything";
}

}  // namespace
}  // namespace fwcommon::test
