#include "render/ConditionJson.h"

#include "Addresses.h"
#include "Schedules.h"
#include "Services.h"
#include "TextFormError.h"
#include "render/QueryAnswers.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

using Json = ConditionJson::Json;

const char* const kDayNames[] = {"mon", "tue", "wed", "thu", "fri", "sat", "sun"};

std::string Narrow(const std::wstring& text) {
    return ToUtf8(text);
}

Json Entry(const char* kind, const std::string& text) {
    return Json{{"kind", kind}, {"text", text}};
}

const char* FamilyName(textforms::AddressFamily family) {
    return family == textforms::AddressFamily::IPv4 ? "ipv4" : "ipv6";
}

// The parts of an address block; a value the text forms refuse keeps the
// text the document stores, as "stored".
Json BlockParts(const textforms::AddressBlock& block) {
    using Kind = textforms::AddressBlock::Kind;
    if (block.kind == Kind::Range)
        return {{"family", FamilyName(block.first.family)},
                {"first", block.first.text},
                {"last", block.last.text}};
    Json parts = {{"family", FamilyName(block.first.family)}, {"address", block.first.text}};
    if (block.kind == Kind::Network)
        parts["prefixLength"] = block.prefixLength;
    return parts;
}

const char* BlockKind(const textforms::AddressBlock& block) {
    using Kind = textforms::AddressBlock::Kind;
    if (block.kind == Kind::Range)
        return "range";
    return block.kind == Kind::Network ? "network" : "address";
}

Json AddressJson(const Sarvo::IpPrimitive& primitive, const std::string& text) {
    try {
        textforms::AddressBlock block;
        if (const auto* mask = dynamic_cast<const Sarvo::IpMask*>(&primitive)) {
            block = textforms::NetworkFromMask(Narrow(mask->Net().Value()),
                                               Narrow(mask->Mask().Value()));
        } else if (const auto* range = dynamic_cast<const Sarvo::IpRange*>(&primitive)) {
            block.kind = textforms::AddressBlock::Kind::Range;
            block.first = textforms::ParseIpAddress(Narrow(range->Begin().Value()));
            block.last = textforms::ParseIpAddress(Narrow(range->End().Value()));
        } else if (const auto* address = dynamic_cast<const Sarvo::IpAddress*>(&primitive)) {
            block = textforms::ParseAddressBlock(Narrow(address->Value()));
        } else {
            return Entry("none", text);
        }
        Json entry = Entry(BlockKind(block), text);
        entry.update(BlockParts(block));
        return entry;
    } catch (const textforms::TextFormError&) {
        Json entry = Entry("stored", text);
        return entry;
    }
}

Json PortsJson(const Sarvo::PortRestrictionCondition::SourcePort_optional& port) {
    if (!port)
        return nullptr;
    if (const auto* range = dynamic_cast<const Sarvo::PortRange*>(&*port))
        return {{"first", range->Begin().Value()}, {"last", range->End().Value()}};
    if (const auto* single = dynamic_cast<const Sarvo::Port*>(&*port))
        return {{"first", single->Value()}, {"last", single->Value()}};
    return nullptr;
}

template <typename Optional>
Json OptionalNumber(const Optional& value) {
    if (!value)
        return nullptr;
    return static_cast<int>(*value);
}

Json ClockJson(const xml_schema::time& time) {
    const textforms::ClockTime clock{time.hours(), time.minutes(),
                                     static_cast<int>(time.seconds())};
    return clock.StoredText();
}

std::string DateText(const xml_schema::date& date) {
    return textforms::CalendarDate{date.year(), date.month(), date.day()}.StoredText();
}

Json DaysJson(const Sarvo::WeekDays& days) {
    const bool set[] = {days.Monday(), days.Tuesday(),  days.Wednesday(), days.Thursday(),
                        days.Friday(), days.Saturday(), days.Sunday()};
    Json names = Json::array();
    for (std::size_t day = 0; day < std::size(set); ++day) {
        if (set[day])
            names.push_back(kDayNames[day]);
    }
    return names;
}

Json FilterJson(const Sarvo::Filter& filter) {
    return {{"stateless", filter.IsConnectionStateless()},
            {"bothWays", filter.IsBidirectional()},
            {"packetLog", filter.IsPacketLoggingEnabled()},
            {"connectionLog", filter.IsConnectionLoggingEnabled()}};
}

Json TranslationJson(const Sarvo::Translation& nat) {
    Json j;
    j["sourceIp"] = nat.SourceIp() ? Json(Narrow(nat.SourceIp()->Value())) : Json();
    j["toOutboundInterface"] = nat.IsTranslatedIntoOutboundInterface();
    j["destinationIp"] = nat.DestinationIp() ? Json(Narrow(nat.DestinationIp()->Value())) : Json();
    j["destinationPort"] = nat.DestinationPort() ? Json(nat.DestinationPort()->Value()) : Json();
    return j;
}

}  // namespace

ConditionJson::ConditionJson(const KindedObjectNames& objects,
                             const textforms::ProtocolNames& protocols, const ConditionText& words)
    : objects_(objects), protocols_(protocols), words_(words) {}

Json ConditionJson::Reference(fwcommon::NamedObjectType kind, int id) const {
    const auto found = objects_.find({kind, id});
    return {{"id", id}, {"name", found == objects_.end() ? Json() : Json(found->second)}};
}

Json ConditionJson::Protocol(int number) const {
    const std::string name = protocols_.NameOf(number);
    return {{"number", number}, {"name", name.empty() ? Json() : Json(name)}};
}

Json ConditionJson::IpHost(const Sarvo::IpHostCondition& host) const {
    const std::string text = words_.IpHost(host);
    if (const auto* primitive = dynamic_cast<const Sarvo::IpPrimitive*>(&host))
        return AddressJson(*primitive, text);
    if (const auto* domain = dynamic_cast<const Sarvo::DomainName*>(&host)) {
        Json entry = Entry("domain", text);
        entry["name"] = Narrow(domain->Value());
        return entry;
    }
    if (const auto* reference = dynamic_cast<const Sarvo::IpObjectRef*>(&host)) {
        Json entry = Entry("object", text);
        entry["object"] = Reference(fwcommon::eIpAddressObject, reference->Id());
        return entry;
    }
    if (const auto* system = dynamic_cast<const Sarvo::IpSystemObjectRef*>(&host)) {
        Json entry = Entry("system", text);
        entry["name"] = Narrow(system->Name());
        return entry;
    }
    return Entry("none", text);
}

Json ConditionJson::Interface(const Sarvo::InterfaceCondition& interface) const {
    const std::string text = words_.Interface(interface);
    if (const auto* simple = dynamic_cast<const Sarvo::SimpleInterface*>(&interface)) {
        Json entry = Entry("interface", text);
        entry["name"] = Narrow(simple->Value());
        return entry;
    }
    if (const auto* byIp = dynamic_cast<const Sarvo::InterfaceByIp*>(&interface)) {
        Json entry = Entry("interface address", text);
        entry["address"] = AddressJson(byIp->Condition(), text.substr(text.find(':') + 1));
        return entry;
    }
    if (const auto* reference = dynamic_cast<const Sarvo::InterfaceObjectRef*>(&interface)) {
        Json entry = Entry("object", text);
        entry["object"] = Reference(fwcommon::eInterfaceObject, reference->Id());
        return entry;
    }
    if (const auto* system = dynamic_cast<const Sarvo::InterfaceSystemObjectRef*>(&interface)) {
        Json entry = Entry("system", text);
        entry["name"] = Narrow(system->Name());
        return entry;
    }
    return Entry("none", text);
}

Json ConditionJson::VpnHost(const Sarvo::VpnHostCondition& host) const {
    const std::string text = words_.VpnHost(host);
    if (const auto* node = dynamic_cast<const Sarvo::VpnNodeId*>(&host)) {
        Json entry = Entry("vpn node", text);
        entry["node"] = node->Value();
        return entry;
    }
    if (const auto* network = dynamic_cast<const Sarvo::VpnNetworkId*>(&host)) {
        Json entry = Entry("vpn network", text);
        entry["network"] = network->Value();
        return entry;
    }
    if (const auto* name = dynamic_cast<const Sarvo::VpnNameTemplate*>(&host)) {
        Json entry = Entry("vpn name", text);
        entry["pattern"] = Narrow(name->Template());
        return entry;
    }
    if (const auto* reference = dynamic_cast<const Sarvo::VpnObjectRef*>(&host)) {
        Json entry = Entry("object", text);
        entry["object"] = Reference(fwcommon::eSarvoGroupObject, reference->Id());
        return entry;
    }
    if (const auto* system = dynamic_cast<const Sarvo::VpnSystemObjectRef*>(&host)) {
        Json entry = Entry("system", text);
        entry["name"] = Narrow(system->Name());
        return entry;
    }
    return Entry("none", text);
}

Json ConditionJson::Side(const Sarvo::ConditionSet::Source_optional& side) const {
    if (!side.present())
        return nullptr;
    Json hosts = Json::array();
    if (const auto* pub = dynamic_cast<const Sarvo::PublicNetwork*>(&side.get())) {
        for (const auto& host : pub->IpHostCondition())
            hosts.push_back(IpHost(host));
        return {{"network", "public"},
                {"interface",
                 pub->InterfaceCondition() ? Interface(*pub->InterfaceCondition()) : Json()},
                {"hosts", hosts}};
    }
    if (const auto* priv = dynamic_cast<const Sarvo::PrivateNetwork*>(&side.get())) {
        for (const auto& host : priv->VpnHostCondition())
            hosts.push_back(VpnHost(host));
        return {{"network", "private"}, {"hosts", hosts}};
    }
    return {{"network", "none"}, {"hosts", hosts}};
}

Json ConditionJson::Service(const Sarvo::ServiceCondition& service) const {
    const std::string text = words_.Service(service);
    if (const auto* reference = dynamic_cast<const Sarvo::ServiceObjectRef*>(&service)) {
        Json entry = Entry("object", text);
        entry["object"] = Reference(fwcommon::eServiceObject, reference->Id());
        return entry;
    }
    if (const auto* system = dynamic_cast<const Sarvo::ServiceSystemObjectRef*>(&service)) {
        Json entry = Entry("system", text);
        entry["name"] = Narrow(system->Name());
        return entry;
    }
    if (const auto* ports = dynamic_cast<const Sarvo::PortRestrictionCondition*>(&service)) {
        const bool tcp = dynamic_cast<const Sarvo::TcpCondition*>(&service) != nullptr;
        const bool udp = dynamic_cast<const Sarvo::UdpCondition*>(&service) != nullptr;
        if (!tcp && !udp)
            return Entry("none", text);
        Json entry = Entry("ports", text);
        entry["protocol"] = Protocol(tcp ? textforms::kProtocolTcp : textforms::kProtocolUdp);
        entry["sourcePorts"] = PortsJson(ports->SourcePort());
        entry["destinationPorts"] = PortsJson(ports->DestinationPort());
        return entry;
    }
    if (const auto* icmp = dynamic_cast<const Sarvo::IcmpCondition*>(&service)) {
        Json entry = Entry("icmp", text);
        entry["protocol"] = Protocol(static_cast<int>(icmp->Protocol()));
        entry["icmpType"] = OptionalNumber(icmp->Type());
        entry["icmpCode"] = OptionalNumber(icmp->Code());
        return entry;
    }
    if (const auto* protocol = dynamic_cast<const Sarvo::ProtocolCondition*>(&service)) {
        Json entry = Entry("protocol", text);
        entry["protocol"] = Protocol(static_cast<int>(protocol->Protocol()));
        return entry;
    }
    return Entry("none", text);
}

Json ConditionJson::Schedule(const Sarvo::ScheduleCondition& schedule) const {
    const std::string text = words_.Schedule(schedule);
    if (const auto* reference = dynamic_cast<const Sarvo::ScheduleObjectRef*>(&schedule)) {
        Json entry = Entry("object", text);
        entry["object"] = Reference(fwcommon::eScheduleObject, reference->Id());
        return entry;
    }
    if (const auto* system = dynamic_cast<const Sarvo::ScheduleSystemObjectRef*>(&schedule)) {
        Json entry = Entry("system", text);
        entry["name"] = Narrow(system->Name());
        return entry;
    }
    const auto* window = dynamic_cast<const Sarvo::Schedule*>(&schedule);
    if (window == nullptr)
        return Entry("none", text);
    Json entry;
    if (const auto* weekly = dynamic_cast<const Sarvo::Weekly*>(window)) {
        entry = Entry("weekly", text);
        entry["days"] = DaysJson(weekly->WeekDays());
    } else if (const auto* calendar = dynamic_cast<const Sarvo::Calendar*>(window)) {
        entry = Entry("calendar", text);
        entry["startDate"] = DateText(calendar->StartDate());
        entry["endDate"] = DateText(calendar->EndDate());
    } else if (dynamic_cast<const Sarvo::Daily*>(window) != nullptr) {
        entry = Entry("daily", text);
    } else {
        return Entry("none", text);
    }
    entry["start"] = ClockJson(window->StartTime());
    entry["end"] = ClockJson(window->EndTime());
    return entry;
}

Json ConditionJson::Rule(const Sarvo::Rule& rule, std::size_t position) const {
    const auto& conditions = rule.ConditionSet();
    Json services = Json::array();
    for (const auto& service : conditions.ServiceCondition())
        services.push_back(Service(service));
    Json schedules = Json::array();
    for (const auto& schedule : conditions.ScheduleCondition())
        schedules.push_back(Schedule(schedule));
    Json j = {{"position", position},
              {"id", rule.RuleId()},
              {"name", Narrow(rule.Name())},
              {"active", rule.IsActive()},
              {"action", ActionName(rule)}};
    if (const auto* filter = dynamic_cast<const Sarvo::Filter*>(&rule.Action()))
        j["filter"] = FilterJson(*filter);
    if (const auto* nat = dynamic_cast<const Sarvo::Translation*>(&rule.Action()))
        j["translation"] = TranslationJson(*nat);
    j["source"] = Side(conditions.Source());
    j["destination"] = Side(conditions.Destination());
    j["services"] = services;
    j["schedules"] = schedules;
    return j;
}

}  // namespace fwpolicy
