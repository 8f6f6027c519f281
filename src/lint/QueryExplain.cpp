#include "lint/QueryExplain.h"

#include <algorithm>
#include <cstdio>

namespace fwcommon::lint {
namespace {

// Objects nested deeper than this are not walked further.
constexpr std::size_t kMaxDepth = 64;

std::wstring Widen(const char* text) {
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

std::wstring TimeText(const xml_schema::time& t) {
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", static_cast<unsigned>(t.hours()),
                  static_cast<unsigned>(t.minutes()), static_cast<unsigned>(t.seconds()));
    return Widen(text);
}

std::wstring DateText(const xml_schema::date& d) {
    char text[24];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", d.year(), static_cast<unsigned>(d.month()),
                  static_cast<unsigned>(d.day()));
    return Widen(text);
}

std::wstring ProtocolText(std::int64_t protocol) {
    switch (protocol) {
        case 6:
            return L"tcp";
        case 17:
            return L"udp";
        case 1:
            return L"icmp";
        case 58:
            return L"icmpv6";
        default:
            return L"proto/" + std::to_wstring(protocol);
    }
}

template <typename Optional>
std::wstring PortText(const Optional& port) {
    if (!port) {
        return L"*";
    }
    if (const auto* range = dynamic_cast<const Sarvo::PortRange*>(&*port)) {
        return std::to_wstring(range->Begin().Value()) + L"-" +
               std::to_wstring(range->End().Value());
    }
    if (const auto* single = dynamic_cast<const Sarvo::Port*>(&*port)) {
        return std::to_wstring(single->Value());
    }
    return L"?";
}

std::wstring PortsText(const Sarvo::PortRestrictionCondition& c, std::int64_t protocol) {
    std::wstring text = ProtocolText(protocol);
    if (c.SourcePort()) {
        return text + L"/" + PortText(c.SourcePort()) + L":" + PortText(c.DestinationPort());
    }
    if (c.DestinationPort()) {
        return text + L"/" + PortText(c.DestinationPort());
    }
    return text;
}

std::wstring DaysText(const Sarvo::WeekDays& d) {
    const bool days[] = {d.Monday(), d.Tuesday(),  d.Wednesday(), d.Thursday(),
                         d.Friday(), d.Saturday(), d.Sunday()};
    const wchar_t* names[] = {L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat", L"Sun"};
    std::wstring text;
    for (int i = 0; i < 7; ++i) {
        if (days[i]) {
            text += (text.empty() ? L"" : L",") + std::wstring(names[i]);
        }
    }
    return text.empty() ? L"no day" : text;
}

std::wstring ObjectText(NamedObjectType type, std::int32_t id, const ObjectCatalog& catalog) {
    const ObjectEntry* entry = catalog.Find(type, id);
    if (entry == nullptr) {
        return std::wstring(ObjectKindName(type)) + L" " + std::to_wstring(id) +
               L", which the documents do not hold once";
    }
    return std::wstring(ObjectKindName(type)) + L" \"" + entry->element->Name() + L"\" (Id " +
           std::to_wstring(id) + L")";
}

}  // namespace

std::wstring DescribeHost(const Sarvo::IpHostCondition& c) {
    if (const auto* address = dynamic_cast<const Sarvo::IpAddress*>(&c)) {
        return address->Value();
    }
    if (const auto* mask = dynamic_cast<const Sarvo::IpMask*>(&c)) {
        return mask->Net().Value() + L"/" + mask->Mask().Value();
    }
    if (const auto* range = dynamic_cast<const Sarvo::IpRange*>(&c)) {
        return range->Begin().Value() + L"-" + range->End().Value();
    }
    if (const auto* name = dynamic_cast<const Sarvo::DomainName*>(&c)) {
        return L"domain name \"" + name->Value() + L"\"";
    }
    if (const auto* system = dynamic_cast<const Sarvo::IpSystemObjectRef*>(&c)) {
        return L"system object \"" + system->Name() + L"\"";
    }
    return L"a host condition of no known kind";
}

std::wstring DescribeInterface(const Sarvo::InterfaceCondition& c) {
    if (const auto* simple = dynamic_cast<const Sarvo::SimpleInterface*>(&c)) {
        return L"interface \"" + simple->Value() + L"\"";
    }
    if (const auto* byIp = dynamic_cast<const Sarvo::InterfaceByIp*>(&c)) {
        return L"the interface with an address in " + DescribeHost(byIp->Condition());
    }
    if (const auto* system = dynamic_cast<const Sarvo::InterfaceSystemObjectRef*>(&c)) {
        return L"system object \"" + system->Name() + L"\"";
    }
    return L"an interface condition of no known kind";
}

std::wstring DescribeVpnHost(const Sarvo::VpnHostCondition& c) {
    if (const auto* node = dynamic_cast<const Sarvo::VpnNodeId*>(&c)) {
        return L"node:" + std::to_wstring(node->Value());
    }
    if (const auto* network = dynamic_cast<const Sarvo::VpnNetworkId*>(&c)) {
        return L"network:" + std::to_wstring(network->Value());
    }
    if (const auto* name = dynamic_cast<const Sarvo::VpnNameTemplate*>(&c)) {
        return L"name template \"" + name->Template() + L"\"";
    }
    if (const auto* system = dynamic_cast<const Sarvo::VpnSystemObjectRef*>(&c)) {
        return L"system object \"" + system->Name() + L"\"";
    }
    return L"a VPN host condition of no known kind";
}

std::wstring DescribeService(const Sarvo::ServiceCondition& c) {
    if (const auto* tcp = dynamic_cast<const Sarvo::TcpCondition*>(&c)) {
        return PortsText(*tcp, tcp->Protocol());
    }
    if (const auto* udp = dynamic_cast<const Sarvo::UdpCondition*>(&c)) {
        return PortsText(*udp, udp->Protocol());
    }
    if (const auto* icmp = dynamic_cast<const Sarvo::IcmpCondition*>(&c)) {
        std::wstring text = ProtocolText(icmp->Protocol());
        if (icmp->Type() || icmp->Code()) {
            text += L"/" + (icmp->Type() ? std::to_wstring(*icmp->Type()) : L"*");
        }
        if (icmp->Code()) {
            text += L"/" + std::to_wstring(*icmp->Code());
        }
        return text;
    }
    if (const auto* protocol = dynamic_cast<const Sarvo::ProtocolCondition*>(&c)) {
        return L"proto/" + std::to_wstring(protocol->Protocol());
    }
    if (const auto* system = dynamic_cast<const Sarvo::ServiceSystemObjectRef*>(&c)) {
        return L"system object \"" + system->Name() + L"\"";
    }
    return L"a service condition of no known kind";
}

std::wstring DescribeSchedule(const Sarvo::ScheduleCondition& c) {
    if (const auto* weekly = dynamic_cast<const Sarvo::Weekly*>(&c)) {
        return L"weekly " + DaysText(weekly->WeekDays()) + L" " + TimeText(weekly->StartTime()) +
               L"-" + TimeText(weekly->EndTime());
    }
    if (const auto* calendar = dynamic_cast<const Sarvo::Calendar*>(&c)) {
        return L"calendar " + DateText(calendar->StartDate()) + L" " +
               TimeText(calendar->StartTime()) + L" to " + DateText(calendar->EndDate()) + L" " +
               TimeText(calendar->EndTime());
    }
    if (const auto* daily = dynamic_cast<const Sarvo::Schedule*>(&c)) {
        return L"daily " + TimeText(daily->StartTime()) + L"-" + TimeText(daily->EndTime());
    }
    if (const auto* system = dynamic_cast<const Sarvo::ScheduleSystemObjectRef*>(&c)) {
        return L"system object \"" + system->Name() + L"\"";
    }
    return L"a schedule condition of no known kind";
}

template <typename Object, typename Ref, typename Condition, typename Answer, typename Describe>
void Explainer::Walk(const Condition& c, std::size_t depth, QueryReason::Place place,
                     const std::wstring& prefix, NamedObjectType type, Answer answer,
                     Describe describe, std::vector<QueryReason>& out) {
    const QueryAnswer a = answer(c);
    if (a == QueryAnswer::eDoesNotMatch) {
        return;  // only what holds or may hold the flow is told
    }
    const auto* ref = dynamic_cast<const Ref*>(&c);
    if (ref == nullptr) {
        out.push_back(QueryReason{depth, a, prefix + describe(c), &c, place});
        return;
    }
    out.push_back(QueryReason{depth, a, prefix + ObjectText(type, ref->Id(), catalog_), &c, place});
    const ObjectEntry* entry = catalog_.Find(type, ref->Id());
    const std::int64_t key = (static_cast<std::int64_t>(type) << 32) | std::uint32_t(ref->Id());
    if (entry == nullptr || depth >= kMaxDepth ||
        std::find(path_.begin(), path_.end(), key) != path_.end()) {
        return;
    }
    const auto* object = dynamic_cast<const Object*>(entry->element);
    if (object == nullptr) {
        return;
    }
    path_.push_back(key);
    for (const auto& member : object->Inclusion()) {
        Walk<Object, Ref>(member, depth + 1, QueryReason::Place::eInclusion, L"includes ", type,
                          answer, describe, out);
    }
    for (const auto& member : object->Exclusion()) {
        Walk<Object, Ref>(member, depth + 1, QueryReason::Place::eExclusion, L"excludes ", type,
                          answer, describe, out);
    }
    path_.pop_back();
}

template <typename Optional>
void Explainer::Side(const Optional& network, const QueryEndpoint& end,
                     const std::optional<std::wstring>& interfaceName, const wchar_t* label,
                     const wchar_t* interfaceLabel, std::vector<QueryReason>& out) {
    if (!network) {
        out.push_back(QueryReason{1, QueryAnswer::eMatches, L"no condition: any"});
        return;
    }
    if (const auto* pub = dynamic_cast<const Sarvo::PublicNetwork*>(&*network)) {
        if (pub->InterfaceCondition()) {
            Walk<Sarvo::InterfaceObject, Sarvo::InterfaceObjectRef>(
                *pub->InterfaceCondition(), 1, QueryReason::Place::eRule,
                std::wstring(interfaceLabel) + L" ", eInterfaceObject,
                [&](const Sarvo::InterfaceCondition& c) {
                    return tester_
                        .Interfaces(evaluator_.Interface(c, nullptr), interfaceName, interfaceLabel)
                        .answer;
                },
                DescribeInterface, out);
        }
        for (const auto& host : pub->IpHostCondition()) {
            Walk<Sarvo::IpObject, Sarvo::IpObjectRef>(
                host, 1, QueryReason::Place::eRule, L"", eIpAddressObject,
                [&](const Sarvo::IpHostCondition& c) {
                    return tester_.Hosts(evaluator_.Host(c, nullptr), end, label).answer;
                },
                DescribeHost, out);
        }
        return;
    }
    if (const auto* priv = dynamic_cast<const Sarvo::PrivateNetwork*>(&*network)) {
        for (const auto& host : priv->VpnHostCondition()) {
            Walk<Sarvo::VpnObject, Sarvo::VpnObjectRef>(
                host, 1, QueryReason::Place::eRule, L"", eSarvoGroupObject,
                [&](const Sarvo::VpnHostCondition& c) {
                    return tester_.VpnHosts(evaluator_.Vpn(c, nullptr), end, label).answer;
                },
                DescribeVpnHost, out);
        }
    }
}

void Explainer::Rule(const Sarvo::ConditionSet& conditions, const FlowDirection& flow,
                     const std::vector<QueryPart>& parts, std::vector<QueryReason>& out) {
    const auto head = [&](std::size_t i) {
        out.push_back(QueryReason{0, parts[i].answer, parts[i].part});
    };
    head(0);
    if (conditions.ScheduleCondition().empty()) {
        out.push_back(QueryReason{1, QueryAnswer::eMatches, L"no condition: any"});
    }
    for (const auto& c : conditions.ScheduleCondition()) {
        Walk<Sarvo::ScheduleObject, Sarvo::ScheduleObjectRef>(
            c, 1, QueryReason::Place::eRule, L"", eScheduleObject,
            [&](const Sarvo::ScheduleCondition& s) {
                const ScheduleBounds b = flow.second ? evaluator_.ScheduleAt(s, *flow.second)
                                                     : evaluator_.Schedule(s, nullptr);
                return tester_.Schedule(b, flow.second).answer;
            },
            DescribeSchedule, out);
    }
    head(1);
    Side(conditions.Source(), *flow.source, *flow.inInterface, L"source", L"in-interface", out);
    head(2);
    if (conditions.ServiceCondition().empty()) {
        out.push_back(QueryReason{1, QueryAnswer::eMatches, L"no condition: any"});
    }
    for (const auto& c : conditions.ServiceCondition()) {
        Walk<Sarvo::ServiceObject, Sarvo::ServiceObjectRef>(
            c, 1, QueryReason::Place::eRule, L"", eServiceObject,
            [&](const Sarvo::ServiceCondition& s) {
                return tester_.Service(evaluator_.Service(s, nullptr), flow.service).answer;
            },
            DescribeService, out);
    }
    head(3);
    Side(conditions.Destination(), *flow.destination, *flow.outInterface, L"destination",
         L"out-interface", out);
}

}  // namespace fwcommon::lint
