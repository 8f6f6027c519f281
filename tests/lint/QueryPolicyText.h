#pragma once

// Builders of policy document text for the query tests, beside the lint's:
// rules of every section, interfaces, VPN hosts, NAT translations and the
// other object kinds. Named objects must be listed in the document's order
// of kinds: schedule, service, VPN, interface, IP objects.

#include <string>

#include "lint/LintPolicyText.h"

namespace fwcommon::test::lint {

inline std::string Transit(long long n, const std::string& conditions,
                           const std::string& action = "Pass",
                           const std::string& filterAttributes = "") {
    return RuleOf("TransitRule", n, n, conditions, action, "", "User", filterAttributes);
}
inline std::string Vpn(long long n, const std::string& conditions,
                       const std::string& action = "Pass") {
    return RuleOf("VpnRule", n, n, conditions, action);
}
inline std::string Tunnel(long long n, const std::string& conditions,
                          const std::string& action = "Pass") {
    return RuleOf("TunnelingRule", n, n, conditions, action);
}

// A NAT rule; translation is the content of the Translation action.
inline std::string Nat(long long n, const std::string& conditions, const std::string& translation,
                       const std::string& attributes = "") {
    return "<Rule xsi:type=\"sv:NatRule\"><RuleId>" + std::to_string(n) + "</RuleId><OrderId>" +
           std::to_string(n) + "</OrderId><Name>r" + std::to_string(n) +
           "</Name><CreationType>User</CreationType><ConditionSet>" + conditions +
           "</ConditionSet><Action xsi:type=\"sv:Translation\" " + attributes + ">" + translation +
           "</Action><Section>NatSection</Section></Rule>";
}

// A public side with an interface condition before its hosts.
inline std::string SourceOn(const std::string& interfaceCondition, const std::string& hosts) {
    return R"(<Source xsi:type="sv:PublicNetwork">)" + interfaceCondition + hosts + "</Source>";
}
inline std::string DestinationOn(const std::string& interfaceCondition, const std::string& hosts) {
    return R"(<Destination xsi:type="sv:PublicNetwork">)" + interfaceCondition + hosts +
           "</Destination>";
}
inline std::string Nic(const std::string& name) {
    return R"(<InterfaceCondition xsi:type="sv:SimpleInterface">)" + Value(name) +
           "</InterfaceCondition>";
}
inline std::string NicByIp(const std::string& address) {
    return R"(<InterfaceCondition xsi:type="sv:InterfaceByIp"><Condition xsi:type="sv:IpAddress">)" +
           Value(address) + "</Condition></InterfaceCondition>";
}
inline std::string NicRef(int id) {
    return R"(<InterfaceCondition xsi:type="sv:InterfaceObjectRef"><Id>)" + std::to_string(id) +
           "</Id></InterfaceCondition>";
}
inline std::string NicSystem(const std::string& name) {
    return R"(<InterfaceCondition xsi:type="sv:InterfaceSystemObjectRef"><Name>)" + name +
           "</Name></InterfaceCondition>";
}
inline std::string InterfaceObject(int id, const std::string& inclusions,
                                   const std::string& exclusions = "") {
    return "<InterfaceObject><Name>i" + std::to_string(id) + "</Name><Id>" + std::to_string(id) +
           "</Id><CreationType>User</CreationType>" +
           Rename(exclusions, "InterfaceCondition", "Exclusion") +
           Rename(inclusions, "InterfaceCondition", "Inclusion") + "</InterfaceObject>";
}

// VPN hosts.
inline std::string VpnNetwork(long long network) {
    return R"(<VpnHostCondition xsi:type="sv:VpnNetworkId">)" + Value(std::to_string(network)) +
           "</VpnHostCondition>";
}
inline std::string VpnTemplate(const std::string& pattern) {
    return R"(<VpnHostCondition xsi:type="sv:VpnNameTemplate"><Template>)" + pattern +
           "</Template></VpnHostCondition>";
}
inline std::string VpnRef(int id) {
    return R"(<VpnHostCondition xsi:type="sv:VpnObjectRef"><Id>)" + std::to_string(id) +
           "</Id></VpnHostCondition>";
}
inline std::string VpnSystem(const std::string& name) {
    return R"(<VpnHostCondition xsi:type="sv:VpnSystemObjectRef"><Name>)" + name +
           "</Name></VpnHostCondition>";
}
inline std::string VpnObject(int id, const std::string& inclusions,
                             const std::string& exclusions = "") {
    return "<VpnObject><Name>v" + std::to_string(id) + "</Name><Id>" + std::to_string(id) +
           "</Id><CreationType>User</CreationType>" +
           Rename(exclusions, "VpnHostCondition", "Exclusion") +
           Rename(inclusions, "VpnHostCondition", "Inclusion") + "</VpnObject>";
}

// Services with both ports; the protocol number picks TCP (6) or UDP (17).
inline std::string Ports(int protocol, long long sourceBegin, long long sourceEnd,
                         long long destinationBegin, long long destinationEnd) {
    const std::string kind = protocol == 17 ? "UdpCondition" : "TcpCondition";
    return R"(<ServiceCondition xsi:type="sv:)" + kind + "\">" +
           PortElement("SourcePort", sourceBegin, sourceEnd) +
           PortElement("DestinationPort", destinationBegin, destinationEnd) + "<Protocol>" +
           std::to_string(protocol) + "</Protocol></ServiceCondition>";
}
inline std::string Udp(long long begin, long long end) {
    return R"(<ServiceCondition xsi:type="sv:UdpCondition">)" +
           PortElement("DestinationPort", begin, end) +
           "<Protocol>17</Protocol></ServiceCondition>";
}
inline std::string ServiceSystem(const std::string& name) {
    return R"(<ServiceCondition xsi:type="sv:ServiceSystemObjectRef"><Name>)" + name +
           "</Name></ServiceCondition>";
}
inline std::string AnyUdp() {
    return R"(<ServiceCondition xsi:type="sv:UdpCondition"><Protocol>17</Protocol></ServiceCondition>)";
}

// Schedule objects and references.
inline std::string ScheduleRef(int id) {
    return R"(<ScheduleCondition xsi:type="sv:ScheduleObjectRef"><Id>)" + std::to_string(id) +
           "</Id></ScheduleCondition>";
}
inline std::string ScheduleSystem(const std::string& name) {
    return R"(<ScheduleCondition xsi:type="sv:ScheduleSystemObjectRef"><Name>)" + name +
           "</Name></ScheduleCondition>";
}
inline std::string ScheduleObject(int id, const std::string& inclusions,
                                  const std::string& exclusions = "") {
    return "<ScheduleObject><Name>t" + std::to_string(id) + "</Name><Id>" + std::to_string(id) +
           "</Id><CreationType>User</CreationType>" +
           Rename(exclusions, "ScheduleCondition", "Exclusion") +
           Rename(inclusions, "ScheduleCondition", "Inclusion") + "</ScheduleObject>";
}

// The address elements of a translation.
inline std::string ToAddress(const std::string& element, const std::string& address) {
    return "<" + element + ">" + Value(address) + "</" + element + ">";
}

}  // namespace fwcommon::test::lint
