#pragma once

// Short builders of policy document text for the lint tests. Each returns
// XML text; Policy() wraps named objects and rules into a whole document.

#include <string>

#include "common/PolicyText.h"

namespace fwcommon::test::lint {

inline std::string Policy(const std::string& objects, const std::string& rules) {
    return PolicyDocumentText(rules, objects, "",
                              PropertiesText("1.0", "2026-01-01T00:00:00", "0"));
}

// A rule of a kind ("LocalRule", ...) with conditions in document order.
// action: "Pass" or "Drop"; attributes go on the Rule element, filter
// attributes on the Filter.
inline std::string RuleOf(const std::string& kind, long long id, long long order,
                          const std::string& conditions, const std::string& action = "Pass",
                          const std::string& attributes = "", const std::string& creation = "User",
                          const std::string& filterAttributes = "") {
    const std::string section = kind == "LocalRule"     ? "LocalSection"
                                : kind == "TransitRule" ? "TransitSection"
                                : kind == "VpnRule"     ? "VpnSection"
                                : kind == "NatRule"     ? "NatSection"
                                                        : "TunnelingSection";
    return "<Rule xsi:type=\"sv:" + kind + "\" " + attributes + "><RuleId>" + std::to_string(id) +
           "</RuleId><OrderId>" + std::to_string(order) + "</OrderId><Name>r" + std::to_string(id) +
           "</Name><CreationType>" + creation + "</CreationType><ConditionSet>" + conditions +
           "</ConditionSet><Action xsi:type=\"sv:Filter\" " + filterAttributes +
           "><FilteringAction>" + action + "</FilteringAction></Action><Section>" + section +
           "</Section></Rule>";
}

// A local rule numbered n (RuleId n, OrderId n).
inline std::string Local(long long n, const std::string& conditions,
                         const std::string& action = "Pass", const std::string& attributes = "") {
    return RuleOf("LocalRule", n, n, conditions, action, attributes);
}

inline std::string Value(const std::string& v) {
    return "<Value>" + v + "</Value>";
}

// Host conditions (IpHostCondition members).
inline std::string Addr(const std::string& a) {
    return R"(<IpHostCondition xsi:type="sv:IpAddress">)" + Value(a) + "</IpHostCondition>";
}
inline std::string Net(const std::string& net, const std::string& mask) {
    return R"(<IpHostCondition xsi:type="sv:IpMask"><Net>)" + Value(net) + "</Net><Mask>" +
           Value(mask) + "</Mask></IpHostCondition>";
}
inline std::string Span(const std::string& begin, const std::string& end) {
    return R"(<IpHostCondition xsi:type="sv:IpRange"><Begin>)" + Value(begin) + "</Begin><End>" +
           Value(end) + "</End></IpHostCondition>";
}
inline std::string Domain(const std::string& name) {
    return R"(<IpHostCondition xsi:type="sv:DomainName">)" + Value(name) + "</IpHostCondition>";
}
inline std::string IpRef(int id) {
    return R"(<IpHostCondition xsi:type="sv:IpObjectRef"><Id>)" + std::to_string(id) +
           "</Id></IpHostCondition>";
}
inline std::string IpSystem(const std::string& name) {
    return R"(<IpHostCondition xsi:type="sv:IpSystemObjectRef"><Name>)" + name +
           "</Name></IpHostCondition>";
}

// Sides.
inline std::string Source(const std::string& hosts) {
    return R"(<Source xsi:type="sv:PublicNetwork">)" + hosts + "</Source>";
}
inline std::string Destination(const std::string& hosts) {
    return R"(<Destination xsi:type="sv:PublicNetwork">)" + hosts + "</Destination>";
}
inline std::string VpnSource(const std::string& hosts) {
    return R"(<Source xsi:type="sv:PrivateNetwork">)" + hosts + "</Source>";
}
inline std::string VpnNode(long long node) {
    return R"(<VpnHostCondition xsi:type="sv:VpnNodeId">)" + Value(std::to_string(node)) +
           "</VpnHostCondition>";
}

// Services.
inline std::string PortElement(const std::string& element, long long begin, long long end) {
    if (begin == end) {
        return "<" + element + R"( xsi:type="sv:Port">)" + Value(std::to_string(begin)) + "</" +
               element + ">";
    }
    return "<" + element + R"( xsi:type="sv:PortRange"><Begin>)" + Value(std::to_string(begin)) +
           "</Begin><End>" + Value(std::to_string(end)) + "</End></" + element + ">";
}
inline std::string Tcp(long long begin, long long end,
                       const std::string& element = "ServiceCondition") {
    return "<" + element + R"( xsi:type="sv:TcpCondition">)" +
           PortElement("DestinationPort", begin, end) + "<Protocol>6</Protocol></" + element + ">";
}
inline std::string Icmp(const std::string& attributes) {
    return R"(<ServiceCondition xsi:type="sv:IcmpCondition" )" + attributes +
           "><Protocol>1</Protocol></ServiceCondition>";
}
inline std::string Protocol(int protocol) {
    return R"(<ServiceCondition xsi:type="sv:ProtocolCondition"><Protocol>)" +
           std::to_string(protocol) + "</Protocol></ServiceCondition>";
}
inline std::string ServiceRef(int id) {
    return R"(<ServiceCondition xsi:type="sv:ServiceObjectRef"><Id>)" + std::to_string(id) +
           "</Id></ServiceCondition>";
}

// Schedules: times "08:00:00", days seven characters of "0"/"1" from Monday.
inline std::string Daily(const std::string& start, const std::string& end) {
    return R"(<ScheduleCondition xsi:type="sv:Daily"><StartTime>)" + start +
           "</StartTime><EndTime>" + end + "</EndTime></ScheduleCondition>";
}
inline std::string Weekly(const std::string& start, const std::string& end, const char* days) {
    static const char* names[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                  "Friday", "Saturday", "Sunday"};
    std::string text = R"(<ScheduleCondition xsi:type="sv:Weekly"><StartTime>)" + start +
                       "</StartTime><EndTime>" + end + "</EndTime><WeekDays>";
    for (int i = 0; i < 7; ++i) {
        text += std::string("<") + names[i] + ">" + (days[i] == '1' ? "true" : "false") + "</" +
                names[i] + ">";
    }
    return text + "</WeekDays></ScheduleCondition>";
}
inline std::string Calendar(const std::string& startDate, const std::string& startTime,
                            const std::string& endDate, const std::string& endTime) {
    return R"(<ScheduleCondition xsi:type="sv:Calendar"><StartTime>)" + startTime +
           "</StartTime><EndTime>" + endTime + "</EndTime><StartDate>" + startDate +
           "</StartDate><EndDate>" + endDate + "</EndDate></ScheduleCondition>";
}

// An IP object with inclusions and exclusions (IpHostCondition texts,
// renamed to the object's list elements).
inline std::string Rename(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}
inline std::string IpObject(int id, const std::string& inclusions,
                            const std::string& exclusions = "") {
    return "<IpObject><Name>o" + std::to_string(id) + "</Name><Id>" + std::to_string(id) +
           "</Id><CreationType>User</CreationType>" +
           Rename(inclusions, "IpHostCondition", "Inclusion") +
           Rename(exclusions, "IpHostCondition", "Exclusion") + "</IpObject>";
}
inline std::string ServiceObject(int id, const std::string& inclusions,
                                 const std::string& exclusions = "") {
    return "<ServiceObject><Name>s" + std::to_string(id) + "</Name><Id>" + std::to_string(id) +
           "</Id><CreationType>User</CreationType>" +
           Rename(inclusions, "ServiceCondition", "Inclusion") +
           Rename(exclusions, "ServiceCondition", "Exclusion") + "</ServiceObject>";
}

}  // namespace fwcommon::test::lint
