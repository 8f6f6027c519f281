#pragma once

#include <memory>
#include <string>

#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// One-line display texts of the conditions of rules and named objects.
//
// An implementation holds no state: any thread may call any operation at
// any time. Each operation reads the element it is given (the caller keeps
// ownership) and returns a new text; none throws for a well-formed element.
// A family base without a kind (an element written without xsi:type) or any
// other unknown kind yields "".
//
// The operations are declared in their fixed slot order, the destructor
// last; hosts compiled against this header rely on that order.
//
// Texts, by operation:
//  - ScheduleText: the kind word, a blank, then the times as hh:mm (hours
//    and minutes zero-padded to two digits; seconds and zones not shown):
//      "Daily 08:00-17:30"
//      "Weekly 08:00-17:30 Mon-Wed-Fri"   (the set days, Monday first, as
//                                          three-letter English names joined
//                                          by "-"; no day list when no day
//                                          is set)
//      "Calendar 01/02/2026 08:00-31/12/2026 17:30"   (day/month/year, day
//                                          and month zero-padded to two
//                                          digits, the year to four)
//  - ServiceText:
//      ICMP: protocol number, then " " and the type when present, then "/"
//        and the code when present: "1 8/0", "1 8", "1/0", "1".
//      TCP, UDP and bare port restrictions: "<protocol> <source>/<dest>",
//        protocol -1 when the element carries none, each port as PortText
//        or "*" when absent: "6 */80", "17 1024-65535/53", "-1 */*".
//      Other protocols: "<number> - <name> (<description>)" with name and
//        description from ProtocolDictionary: "47 - GRE (General Routing
//        Encapsulation)"; " (<description>)" is left out when the
//        dictionary has no description, and everything after the number
//        when it does not know the protocol: "253".
//  - PortText: "80"; a range "1024-65535".
//  - IpPrimitiveText: "10.0.0.1", "10.0.0.0/255.255.255.0",
//    "10.0.0.1-10.0.0.9".
//  - VpnNodeIdText, VpnNetworkIdText: the number in decimal.
//  - VpnSystemObjectRefText, IpSystemObjectRefText: the system object's
//    name; VpnNameTemplateText the template; DomainNameText the name.
//  - The ...ConditionText operations show a kind's own text as above. The
//    wrapper cannot see named objects, so a reference to a named object
//    (ScheduleObjectRef, ServiceObjectRef, VpnObjectRef, IpObjectRef,
//    InterfaceObjectRef) shows as "#" and the referenced Id: "#12". A
//    caller that knows the objects replaces such texts with their names.
//  - InterfaceConditionText: the interface, by kind: a SimpleInterface its
//    name ("*" for an empty name, meaning any interface), an InterfaceByIp
//    "IP:" and its IpPrimitiveText, a system object its name, an object
//    reference "#<Id>". When the condition sits in the Source side of a
//    rule's condition set, the text is labelled "Source (eth0)"; in the
//    Destination side "Target (eth0)", and in the Destination side of a
//    NAT rule, whose destination interface is the one the translated
//    traffic leaves by, "OutgoingInterface (eth0)". Anywhere else (a named
//    object's list, a detached copy) the text is not labelled: "eth0".
class FWCOMMON_EXPORT IXmlWrapper {
public:
    IXmlWrapper() = default;
    IXmlWrapper(const IXmlWrapper&) = default;
    IXmlWrapper& operator=(const IXmlWrapper&) = default;

    virtual std::wstring ScheduleText(const Sarvo::Schedule& schedule) const = 0;
    virtual std::wstring ScheduleConditionText(const Sarvo::ScheduleCondition& condition) const = 0;
    virtual std::wstring ServiceText(const Sarvo::Service& service) const = 0;
    virtual std::wstring ServiceConditionText(const Sarvo::ServiceCondition& condition) const = 0;
    virtual std::wstring VpnSystemObjectRefText(const Sarvo::VpnSystemObjectRef& ref) const = 0;
    virtual std::wstring VpnNodeIdText(const Sarvo::VpnNodeId& node) const = 0;
    virtual std::wstring VpnNetworkIdText(const Sarvo::VpnNetworkId& network) const = 0;
    virtual std::wstring VpnNameTemplateText(const Sarvo::VpnNameTemplate& nameTemplate) const = 0;
    virtual std::wstring VpnHostConditionText(const Sarvo::VpnHostCondition& condition) const = 0;
    virtual std::wstring InterfaceConditionText(
        const Sarvo::InterfaceCondition& condition) const = 0;
    virtual std::wstring PortText(const Sarvo::PortPrimitive& port) const = 0;
    virtual std::wstring IpSystemObjectRefText(const Sarvo::IpSystemObjectRef& ref) const = 0;
    virtual std::wstring IpPrimitiveText(const Sarvo::IpPrimitive& primitive) const = 0;
    virtual std::wstring DomainNameText(const Sarvo::DomainName& name) const = 0;
    virtual std::wstring IpHostConditionText(const Sarvo::IpHostCondition& condition) const = 0;

    virtual ~IXmlWrapper();
};

// A new wrapper, owned by the caller through the returned pointer; never
// empty. Any thread may call it.
FWCOMMON_EXPORT std::shared_ptr<IXmlWrapper> GetXmlWrapper();

}  // namespace fwcommon
