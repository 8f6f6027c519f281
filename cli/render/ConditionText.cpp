#include "render/ConditionText.h"

#include "Addresses.h"
#include "HostTerms.h"
#include "References.h"
#include "Schedules.h"
#include "Services.h"
#include "TextFormError.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

using textforms::AddressBlock;
using textforms::HostTerm;

// A condition of a base type that holds no value the text forms can say
// (the schema lets a document hold a bare Service or Schedule, say).
struct NoValue {};

template <typename Derived, typename Base>
const Derived& As(const Base& base) {
    const auto* derived = dynamic_cast<const Derived*>(&base);
    if (derived == nullptr)
        throw NoValue{};
    return *derived;
}

std::string Unspecified(const std::string& what) {
    return "(" + what + " without a value)";
}

std::string Narrow(const std::wstring& text) {
    return ToUtf8(text);
}

AddressBlock BlockOf(const Sarvo::IpPrimitive& primitive) {
    if (const auto* mask = dynamic_cast<const Sarvo::IpMask*>(&primitive)) {
        AddressBlock block =
            textforms::NetworkFromMask(Narrow(mask->Net().Value()), Narrow(mask->Mask().Value()));
        block.writtenWithMask = false;
        return block;
    }
    if (const auto* range = dynamic_cast<const Sarvo::IpRange*>(&primitive)) {
        AddressBlock block;
        block.kind = AddressBlock::Kind::Range;
        block.first = textforms::ParseIpAddress(Narrow(range->Begin().Value()));
        block.last = textforms::ParseIpAddress(Narrow(range->End().Value()));
        return block;
    }
    return textforms::ParseAddressBlock(Narrow(As<Sarvo::IpAddress>(primitive).Value()));
}

// As the document stores it, for a value the text forms refuse.
std::string StoredText(const Sarvo::IpPrimitive& primitive) {
    if (const auto* mask = dynamic_cast<const Sarvo::IpMask*>(&primitive))
        return Narrow(mask->Net().Value()) + "/" + Narrow(mask->Mask().Value());
    if (const auto* range = dynamic_cast<const Sarvo::IpRange*>(&primitive))
        return Narrow(range->Begin().Value()) + "-" + Narrow(range->End().Value());
    return Narrow(As<Sarvo::IpAddress>(primitive).Value());
}

std::string AddressText(const Sarvo::IpPrimitive& primitive) {
    try {
        return textforms::RenderAddressBlock(BlockOf(primitive));
    } catch (const textforms::TextFormError&) {
        return StoredText(primitive);
    } catch (const NoValue&) {
        return Unspecified("address");
    }
}

std::string Rendered(HostTerm::Kind kind, const std::string& name) {
    HostTerm term;
    term.kind = kind;
    term.name = name;
    return textforms::RenderHostTerm(term);
}

std::string Numbered(HostTerm::Kind kind, long long number) {
    HostTerm term;
    term.kind = kind;
    term.number = number;
    return textforms::RenderHostTerm(term);
}

textforms::PortSpan SpanOf(const Sarvo::PortPrimitive& port) {
    textforms::PortSpan span;
    if (const auto* range = dynamic_cast<const Sarvo::PortRange*>(&port)) {
        span.first = static_cast<unsigned>(range->Begin().Value());
        span.last = static_cast<unsigned>(range->End().Value());
        span.range = true;
        return span;
    }
    span.first = static_cast<unsigned>(As<Sarvo::Port>(port).Value());
    span.last = span.first;
    return span;
}

textforms::ServiceValue ValueOf(const Sarvo::ServiceCondition& service) {
    using Kind = textforms::ServiceValue::Kind;
    textforms::ServiceValue value;
    if (const auto* ports = dynamic_cast<const Sarvo::PortRestrictionCondition*>(&service)) {
        value.kind = Kind::Ports;
        if (dynamic_cast<const Sarvo::TcpCondition*>(&service))
            value.protocol = textforms::kProtocolTcp;
        else if (dynamic_cast<const Sarvo::UdpCondition*>(&service))
            value.protocol = textforms::kProtocolUdp;
        else
            throw NoValue{};
        if (ports->SourcePort())
            value.sourcePort = SpanOf(*ports->SourcePort());
        if (ports->DestinationPort())
            value.destinationPort = SpanOf(*ports->DestinationPort());
    } else if (const auto* icmp = dynamic_cast<const Sarvo::IcmpCondition*>(&service)) {
        value.kind = Kind::Icmp;
        value.protocol = static_cast<int>(icmp->Protocol());
        if (icmp->Type())
            value.icmpType = static_cast<int>(*icmp->Type());
        if (icmp->Code())
            value.icmpCode = static_cast<int>(*icmp->Code());
    } else {
        value.protocol = static_cast<int>(As<Sarvo::ProtocolCondition>(service).Protocol());
    }
    return value;
}

textforms::ClockTime ClockOf(const xml_schema::time& time) {
    return {time.hours(), time.minutes(), static_cast<int>(time.seconds())};
}

textforms::CalendarDate DateOf(const xml_schema::date& date) {
    return {date.year(), date.month(), date.day()};
}

std::array<bool, 7> DaysOf(const Sarvo::WeekDays& days) {
    return {days.Monday(), days.Tuesday(),  days.Wednesday(), days.Thursday(),
            days.Friday(), days.Saturday(), days.Sunday()};
}

textforms::ScheduleValue ValueOf(const Sarvo::Schedule& schedule) {
    using Kind = textforms::ScheduleValue::Kind;
    textforms::ScheduleValue value;
    value.start = ClockOf(schedule.StartTime());
    value.end = ClockOf(schedule.EndTime());
    if (const auto* weekly = dynamic_cast<const Sarvo::Weekly*>(&schedule)) {
        value.kind = Kind::Weekly;
        value.days = DaysOf(weekly->WeekDays());
    } else if (const auto* calendar = dynamic_cast<const Sarvo::Calendar*>(&schedule)) {
        value.kind = Kind::Calendar;
        value.startDate = DateOf(calendar->StartDate());
        value.endDate = DateOf(calendar->EndDate());
    } else if (dynamic_cast<const Sarvo::Daily*>(&schedule) == nullptr) {
        throw NoValue{};
    }
    return value;
}

template <typename Sequence>
void AddNames(const Sequence& objects, fwcommon::NamedObjectType kind, KindedObjectNames& names) {
    for (const auto& object : objects)
        names.emplace(std::make_pair(kind, object.Id()), Narrow(object.Name()));
}

}  // namespace

void CollectKindedObjectNames(const Sarvo::PolicyType& policy, KindedObjectNames& names) {
    if (!policy.NamedObjects())
        return;
    const auto& o = *policy.NamedObjects();
    AddNames(o.IpObject(), fwcommon::eIpAddressObject, names);
    AddNames(o.InterfaceObject(), fwcommon::eInterfaceObject, names);
    AddNames(o.VpnObject(), fwcommon::eSarvoGroupObject, names);
    AddNames(o.ServiceObject(), fwcommon::eServiceObject, names);
    AddNames(o.ScheduleObject(), fwcommon::eScheduleObject, names);
}

ConditionText::ConditionText(const KindedObjectNames& objects,
                             const textforms::ProtocolNames& protocols)
    : objects_(objects), protocols_(protocols) {}

std::string ConditionText::Reference(fwcommon::NamedObjectType kind, int id) const {
    const auto found = objects_.find({kind, id});
    if (found == objects_.end())
        return "@#" + std::to_string(id);
    return textforms::RenderObjectReference(found->second);
}

std::string ConditionText::IpHost(const Sarvo::IpHostCondition& host) const {
    if (const auto* primitive = dynamic_cast<const Sarvo::IpPrimitive*>(&host))
        return AddressText(*primitive);
    if (const auto* domain = dynamic_cast<const Sarvo::DomainName*>(&host))
        return Rendered(HostTerm::Kind::DomainName, Narrow(domain->Value()));
    if (const auto* reference = dynamic_cast<const Sarvo::IpObjectRef*>(&host))
        return Reference(fwcommon::eIpAddressObject, reference->Id());
    if (const auto* system = dynamic_cast<const Sarvo::IpSystemObjectRef*>(&host))
        return Narrow(system->Name());
    return Unspecified("host");
}

std::string ConditionText::Interface(const Sarvo::InterfaceCondition& interface) const {
    if (const auto* simple = dynamic_cast<const Sarvo::SimpleInterface*>(&interface))
        return Rendered(HostTerm::Kind::Interface, Narrow(simple->Value()));
    if (const auto* byIp = dynamic_cast<const Sarvo::InterfaceByIp*>(&interface))
        return "interface:" + AddressText(byIp->Condition());
    if (const auto* reference = dynamic_cast<const Sarvo::InterfaceObjectRef*>(&interface))
        return Reference(fwcommon::eInterfaceObject, reference->Id());
    if (const auto* system = dynamic_cast<const Sarvo::InterfaceSystemObjectRef*>(&interface))
        return "interface:" + Narrow(system->Name());
    return Unspecified("interface");
}

std::string ConditionText::VpnHost(const Sarvo::VpnHostCondition& host) const {
    if (const auto* node = dynamic_cast<const Sarvo::VpnNodeId*>(&host))
        return Numbered(HostTerm::Kind::VpnNode, node->Value());
    if (const auto* network = dynamic_cast<const Sarvo::VpnNetworkId*>(&host))
        return Numbered(HostTerm::Kind::VpnNetwork, network->Value());
    if (const auto* name = dynamic_cast<const Sarvo::VpnNameTemplate*>(&host))
        return Rendered(HostTerm::Kind::VpnNameTemplate, Narrow(name->Template()));
    if (const auto* reference = dynamic_cast<const Sarvo::VpnObjectRef*>(&host))
        return Reference(fwcommon::eSarvoGroupObject, reference->Id());
    if (const auto* system = dynamic_cast<const Sarvo::VpnSystemObjectRef*>(&host))
        return Narrow(system->Name());
    return Unspecified("VPN host");
}

std::vector<std::string> ConditionText::SideEntries(const Sarvo::NetworkCondition& side) const {
    std::vector<std::string> entries;
    if (const auto* pub = dynamic_cast<const Sarvo::PublicNetwork*>(&side)) {
        if (pub->InterfaceCondition())
            entries.push_back(Interface(*pub->InterfaceCondition()));
        for (const auto& host : pub->IpHostCondition())
            entries.push_back(IpHost(host));
    } else if (const auto* priv = dynamic_cast<const Sarvo::PrivateNetwork*>(&side)) {
        for (const auto& host : priv->VpnHostCondition())
            entries.push_back(VpnHost(host));
    } else {
        entries.push_back(Unspecified("network side"));
    }
    return entries;
}

std::string ConditionText::Service(const Sarvo::ServiceCondition& service) const {
    if (const auto* reference = dynamic_cast<const Sarvo::ServiceObjectRef*>(&service))
        return Reference(fwcommon::eServiceObject, reference->Id());
    if (const auto* system = dynamic_cast<const Sarvo::ServiceSystemObjectRef*>(&service))
        return Narrow(system->Name());
    try {
        return textforms::RenderService(ValueOf(service), protocols_);
    } catch (const NoValue&) {
        return Unspecified("service");
    }
}

std::string ConditionText::Schedule(const Sarvo::ScheduleCondition& schedule) const {
    if (const auto* reference = dynamic_cast<const Sarvo::ScheduleObjectRef*>(&schedule))
        return Reference(fwcommon::eScheduleObject, reference->Id());
    if (const auto* system = dynamic_cast<const Sarvo::ScheduleSystemObjectRef*>(&schedule))
        return Narrow(system->Name());
    try {
        return textforms::RenderSchedule(ValueOf(As<Sarvo::Schedule>(schedule)));
    } catch (const NoValue&) {
        return Unspecified("schedule");
    }
}

}  // namespace fwpolicy
