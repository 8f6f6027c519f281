#include "ConditionElements.h"

#include "EntriesListedOnce.h"
#include "ParsedTextForm.h"
#include "References.h"
#include "editor/PolicyEdit.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

using textforms::AddressBlock;
using textforms::HostTerm;

std::wstring Wide(const std::string& text) {
    return FromUtf8(text);
}

std::unique_ptr<Sarvo::IpPrimitive> IpPrimitiveElement(const AddressBlock& block) {
    switch (block.kind) {
        case AddressBlock::Kind::Host:
            return std::make_unique<Sarvo::IpAddress>(Wide(block.first.text));
        case AddressBlock::Kind::Network:
            return std::make_unique<Sarvo::IpMask>(Sarvo::IpAddress(Wide(block.first.text)),
                                                   Sarvo::IpAddress(Wide(block.MaskText())));
        case AddressBlock::Kind::Range:
            break;
    }
    return std::make_unique<Sarvo::IpRange>(Sarvo::IpAddress(Wide(block.first.text)),
                                            Sarvo::IpAddress(Wide(block.last.text)));
}

bool IsVpnKind(const HostTerm& term) {
    return term.kind == HostTerm::Kind::VpnNode || term.kind == HostTerm::Kind::VpnNetwork ||
           term.kind == HostTerm::Kind::VpnNameTemplate;
}

bool IsInterfaceKind(const HostTerm& term) {
    return term.kind == HostTerm::Kind::Interface ||
           term.kind == HostTerm::Kind::InterfaceAddress ||
           term.kind == HostTerm::Kind::InterfaceSystemObject;
}

EditError Misplaced(const HostTerm& term, const std::string& where) {
    return EditError("'" + textforms::RenderHostTerm(term) + "' cannot stand in " + where);
}

bool NamesVpnObject(const HostTerm& term, const ObjectDirectory& objects) {
    if (term.kind != HostTerm::Kind::ObjectReference)
        return false;
    const ObjectTarget target = objects.Find(
        term.name,
        {fwcommon::eIpAddressObject, fwcommon::eInterfaceObject, fwcommon::eSarvoGroupObject});
    return target.type == fwcommon::eSarvoGroupObject;
}

NetworkSide SideOf(const std::vector<HostTerm>& terms, const ObjectDirectory& objects) {
    for (const HostTerm& term : terms) {
        if (IsVpnKind(term) || NamesVpnObject(term, objects))
            return NetworkSide::kPrivate;
    }
    return NetworkSide::kPublic;
}

std::unique_ptr<Sarvo::NetworkCondition> PrivateElement(const std::vector<HostTerm>& terms,
                                                        const ObjectDirectory& objects) {
    auto side = std::make_unique<Sarvo::PrivateNetwork>();
    for (const HostTerm& term : terms)
        AppendOnce(*side, VpnHostsOf, VpnHostElement(term, objects));
    return side;
}

bool IsInterfaceEntry(const HostTerm& term, const ObjectDirectory& objects) {
    if (IsInterfaceKind(term))
        return true;
    if (term.kind != HostTerm::Kind::ObjectReference)
        return false;
    return objects.Find(term.name, {fwcommon::eIpAddressObject, fwcommon::eInterfaceObject}).type ==
           fwcommon::eInterfaceObject;
}

std::unique_ptr<Sarvo::NetworkCondition> PublicElement(const std::vector<HostTerm>& terms,
                                                       const ObjectDirectory& objects) {
    auto side = std::make_unique<Sarvo::PublicNetwork>();
    for (const HostTerm& term : terms) {
        if (!IsInterfaceEntry(term, objects)) {
            AppendOnce(*side, IpHostsOf, IpHostElement(term, objects));
            continue;
        }
        if (side->InterfaceCondition())
            throw EditError("a side names at most one interface; '" +
                            textforms::RenderHostTerm(term) + "' is a second one");
        side->InterfaceCondition(InterfaceElement(term, objects));
    }
    return side;
}

std::unique_ptr<Sarvo::PortPrimitive> PortElement(const textforms::PortSpan& span) {
    if (!span.range)
        return std::make_unique<Sarvo::Port>(span.first);
    return std::make_unique<Sarvo::PortRange>(Sarvo::Port(span.first), Sarvo::Port(span.last));
}

template <typename Condition>
std::unique_ptr<Sarvo::ServiceCondition> PortsElement(const textforms::ServiceValue& service) {
    auto condition = std::make_unique<Condition>(service.protocol);
    if (service.sourcePort)
        condition->SourcePort(PortElement(*service.sourcePort));
    if (service.destinationPort)
        condition->DestinationPort(PortElement(*service.destinationPort));
    return condition;
}

std::unique_ptr<Sarvo::ServiceCondition> ServiceValueElement(
    const textforms::ServiceValue& service) {
    using Kind = textforms::ServiceValue::Kind;
    if (service.kind == Kind::Ports) {
        return service.protocol == textforms::kProtocolTcp
                   ? PortsElement<Sarvo::TcpCondition>(service)
                   : PortsElement<Sarvo::UdpCondition>(service);
    }
    if (service.kind == Kind::Icmp) {
        auto icmp = std::make_unique<Sarvo::IcmpCondition>(service.protocol);
        if (service.icmpType)
            icmp->Type(*service.icmpType);
        if (service.icmpCode)
            icmp->Code(*service.icmpCode);
        return icmp;
    }
    return std::make_unique<Sarvo::ProtocolCondition>(service.protocol);
}

xml_schema::time TimeElement(const textforms::ClockTime& time) {
    return xml_schema::time(static_cast<unsigned short>(time.hour),
                            static_cast<unsigned short>(time.minute), time.second);
}

xml_schema::date DateElement(const textforms::CalendarDate& date) {
    return xml_schema::date(date.year, static_cast<unsigned short>(date.month),
                            static_cast<unsigned short>(date.day));
}

Sarvo::WeekDays WeekDaysElement(const std::array<bool, 7>& days) {
    return Sarvo::WeekDays(days[0], days[1], days[2], days[3], days[4], days[5], days[6]);
}

std::unique_ptr<Sarvo::ScheduleCondition> ScheduleValueElement(
    const textforms::ScheduleValue& schedule) {
    using Kind = textforms::ScheduleValue::Kind;
    const auto start = TimeElement(schedule.start);
    const auto end = TimeElement(schedule.end);
    if (schedule.kind == Kind::Daily)
        return std::make_unique<Sarvo::Daily>(start, end);
    if (schedule.kind == Kind::Weekly)
        return std::make_unique<Sarvo::Weekly>(start, end, WeekDaysElement(schedule.days));
    return std::make_unique<Sarvo::Calendar>(start, end, DateElement(schedule.startDate),
                                             DateElement(schedule.endDate));
}

std::wstring SystemName(fwcommon::SystemObjectTypes type) {
    return Wide(textforms::SystemObjectName(type));
}

}  // namespace

HostTerm ParseHostEntry(const std::string& text) {
    return Parsed([&] { return textforms::ParseHostTerm(text); });
}

std::unique_ptr<Sarvo::NetworkCondition> NetworkElement(const std::vector<HostTerm>& terms,
                                                        std::optional<NetworkSide> side,
                                                        const ObjectDirectory& objects) {
    const NetworkSide chosen = side ? *side : SideOf(terms, objects);
    return chosen == NetworkSide::kPrivate ? PrivateElement(terms, objects)
                                           : PublicElement(terms, objects);
}

std::unique_ptr<Sarvo::IpHostCondition> IpHostElement(const HostTerm& term,
                                                      const ObjectDirectory& objects) {
    switch (term.kind) {
        case HostTerm::Kind::Address:
            return IpPrimitiveElement(term.address);
        case HostTerm::Kind::DomainName:
            return std::make_unique<Sarvo::DomainName>(Wide(term.name));
        case HostTerm::Kind::ObjectReference:
            return std::make_unique<Sarvo::IpObjectRef>(
                objects.Find(term.name, {fwcommon::eIpAddressObject}).id);
        case HostTerm::Kind::SystemObject:
            return std::make_unique<Sarvo::IpSystemObjectRef>(SystemName(term.systemObject));
        default:
            throw Misplaced(term, "a list of IP hosts");
    }
}

std::unique_ptr<Sarvo::InterfaceCondition> InterfaceElement(const HostTerm& term,
                                                            const ObjectDirectory& objects) {
    switch (term.kind) {
        case HostTerm::Kind::Interface:
            return std::make_unique<Sarvo::SimpleInterface>(Wide(term.name));
        case HostTerm::Kind::InterfaceAddress:
            return std::make_unique<Sarvo::InterfaceByIp>(IpPrimitiveElement(term.address));
        case HostTerm::Kind::InterfaceSystemObject:
        case HostTerm::Kind::SystemObject:
            return std::make_unique<Sarvo::InterfaceSystemObjectRef>(SystemName(term.systemObject));
        case HostTerm::Kind::ObjectReference:
            return std::make_unique<Sarvo::InterfaceObjectRef>(
                objects.Find(term.name, {fwcommon::eInterfaceObject}).id);
        default:
            throw Misplaced(term, "a list of interfaces (write interface:NAME)");
    }
}

std::unique_ptr<Sarvo::VpnHostCondition> VpnHostElement(const HostTerm& term,
                                                        const ObjectDirectory& objects) {
    switch (term.kind) {
        case HostTerm::Kind::VpnNode:
            return std::make_unique<Sarvo::VpnNodeId>(term.number);
        case HostTerm::Kind::VpnNetwork:
            return std::make_unique<Sarvo::VpnNetworkId>(term.number);
        case HostTerm::Kind::VpnNameTemplate:
            return std::make_unique<Sarvo::VpnNameTemplate>(Wide(term.name));
        case HostTerm::Kind::ObjectReference:
            return std::make_unique<Sarvo::VpnObjectRef>(
                objects.Find(term.name, {fwcommon::eSarvoGroupObject}).id);
        case HostTerm::Kind::SystemObject:
            return std::make_unique<Sarvo::VpnSystemObjectRef>(SystemName(term.systemObject));
        default:
            throw Misplaced(term, "a private (VPN) side");
    }
}

std::unique_ptr<Sarvo::ServiceCondition> ServiceElement(const std::string& text,
                                                        const textforms::ProtocolNames& names,
                                                        const ObjectDirectory& objects) {
    if (const auto name = Parsed([&] { return textforms::ParseObjectReference(text); }))
        return std::make_unique<Sarvo::ServiceObjectRef>(
            objects.Find(*name, {fwcommon::eServiceObject}).id);
    if (const auto type = textforms::SystemObjectOfName(text))
        return std::make_unique<Sarvo::ServiceSystemObjectRef>(SystemName(*type));
    return ServiceValueElement(Parsed([&] { return textforms::ParseService(text, names); }));
}

std::unique_ptr<Sarvo::ScheduleCondition> ScheduleElement(const std::string& text,
                                                          const ObjectDirectory& objects) {
    if (const auto name = Parsed([&] { return textforms::ParseObjectReference(text); }))
        return std::make_unique<Sarvo::ScheduleObjectRef>(
            objects.Find(*name, {fwcommon::eScheduleObject}).id);
    if (const auto type = textforms::SystemObjectOfName(text))
        return std::make_unique<Sarvo::ScheduleSystemObjectRef>(SystemName(*type));
    return ScheduleValueElement(Parsed([&] { return textforms::ParseSchedule(text); }));
}

Sarvo::IpAddress AddressElement(const std::string& text) {
    return Sarvo::IpAddress(Wide(Parsed([&] { return textforms::ParseIpAddress(text); }).text));
}

}  // namespace fwpolicy
