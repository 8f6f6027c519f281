#include "lint/LintConditions.h"

#include <cmath>
#include <cwctype>

#include <fwcommon/PolicyLint.h>

namespace fwcommon::lint {
namespace {

// Objects nested deeper than this (through references) are taken as
// unknown, which bounds the depth of the resolution.
constexpr std::size_t kMaxNesting = 200;

// Protocol numbers, ICMP types and ICMP codes are bytes.
constexpr std::int64_t kMaxByteValue = 255;
constexpr unsigned kIpv4PrefixBits = 32;
constexpr unsigned kIpv6PrefixBits = 128;

void Report(const ValueSink* sink, const char* code, const std::wstring& message) {
    if (sink != nullptr && *sink) {
        (*sink)(code, message);
    }
}

// True when value lies in 0 to max; else reports what holds it.
bool InRange(std::int64_t value, std::int64_t max, const wchar_t* what, const ValueSink* sink) {
    if (value >= 0 && value <= max) {
        return true;
    }
    Report(sink, LintCode::kInvalidValue,
           std::wstring(what) + L" " + std::to_wstring(value) + L" is outside 0 to " +
               std::to_wstring(max));
    return false;
}

// True when text is an address; else reports what holds it.
bool IsAddress(const std::wstring& text, const ValueSink* sink, const wchar_t* what = L"address") {
    if (ParseAddress(text)) {
        return true;
    }
    Report(sink, LintCode::kInvalidValue,
           std::wstring(what) + L" \"" + text + L"\" does not parse");
    return false;
}

// A mask is an address or a prefix length that the network's family holds.
bool IsMask(const std::wstring& mask, const std::optional<Address>& net, const ValueSink* sink) {
    if (ParseAddress(mask)) {
        return true;
    }
    const unsigned maxBits = net && net->v6 ? kIpv6PrefixBits : kIpv4PrefixBits;
    bool digits = !mask.empty() && mask.size() <= 3;
    for (wchar_t c : mask) {
        digits = digits && c >= L'0' && c <= L'9';
    }
    if (digits && std::stoul(mask) <= maxBits) {
        return true;
    }
    Report(sink, LintCode::kInvalidValue, L"mask \"" + mask + L"\" does not parse");
    return false;
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return text;
}

// Whole seconds of a time of day, or -1 when it carries a zone or a
// fraction (then its place among other times is not certain).
std::int64_t SecondOfDay(const xml_schema::time& t) {
    const double seconds = t.seconds();
    if (t.zone_present() || seconds != std::floor(seconds)) {
        return -1;
    }
    return static_cast<std::int64_t>(t.hours()) * 3600 +
           static_cast<std::int64_t>(t.minutes()) * 60 + static_cast<std::int64_t>(seconds);
}

unsigned DayBits(const Sarvo::WeekDays& d) {
    const bool days[] = {d.Monday(), d.Tuesday(),  d.Wednesday(), d.Thursday(),
                         d.Friday(), d.Saturday(), d.Sunday()};
    unsigned bits = 0;
    for (unsigned i = 0; i < 7; ++i) {
        bits |= days[i] ? (1u << i) : 0u;
    }
    return bits;
}

// A weekly window: a start after the end may mean a window over midnight
// or nothing at all, so it is unknown.
ScheduleBounds Window(const Sarvo::Schedule& s, unsigned days, const ValueSink* sink) {
    const std::int64_t start = SecondOfDay(s.StartTime());
    const std::int64_t end = SecondOfDay(s.EndTime());
    if (start < 0 || end < 0 || end < start) {
        return ScheduleBounds::Unknown();
    }
    if (days == 0) {
        Report(sink, LintCode::kEmptyRange, L"weekly schedule selects no day");
        return ScheduleBounds::Empty();
    }
    ScheduleSet set;
    set.weekly =
        WeeklyWindow(days, static_cast<std::uint64_t>(start), static_cast<std::uint64_t>(end));
    return ScheduleBounds::OfExact(set);
}

ScheduleBounds CalendarSpan(const Sarvo::Calendar& c, const ValueSink* sink) {
    const std::int64_t startTime = SecondOfDay(c.StartTime());
    const std::int64_t endTime = SecondOfDay(c.EndTime());
    if (startTime < 0 || endTime < 0 || c.StartDate().zone_present() ||
        c.EndDate().zone_present()) {
        return ScheduleBounds::Unknown();
    }
    const std::uint64_t start =
        AbsoluteSecond(c.StartDate().year(), c.StartDate().month(), c.StartDate().day(), startTime);
    const std::uint64_t end =
        AbsoluteSecond(c.EndDate().year(), c.EndDate().month(), c.EndDate().day(), endTime);
    if (end < start) {
        Report(sink, LintCode::kInvalidValue, L"calendar schedule ends before it starts");
        return ScheduleBounds::Empty();
    }
    ScheduleSet set;
    set.absolute = IntervalSet<std::uint64_t>::Of(start, end);
    return ScheduleBounds::OfExact(set);
}

// A port element as an axis range; nothing for a plain PortPrimitive.
bool PortAxis(const Sarvo::PortPrimitive* port, std::int64_t& lo, std::int64_t& hi,
              const ValueSink* sink) {
    if (port == nullptr) {
        lo = 0;
        hi = ServiceSet::kMaxPort;
        return true;
    }
    if (const auto* range = dynamic_cast<const Sarvo::PortRange*>(port)) {
        lo = range->Begin().Value();
        hi = range->End().Value();
        const bool loValid = InRange(lo, ServiceSet::kMaxPort, L"port", sink);
        const bool hiValid = InRange(hi, ServiceSet::kMaxPort, L"port", sink);
        if (!loValid || !hiValid) {
            return false;
        }
        if (hi < lo) {
            Report(sink, LintCode::kInvalidValue,
                   L"port range " + std::to_wstring(lo) + L"-" + std::to_wstring(hi) +
                       L" ends below its start");
        }
        return true;
    }
    if (const auto* single = dynamic_cast<const Sarvo::Port*>(port)) {
        lo = hi = single->Value();
        return InRange(lo, ServiceSet::kMaxPort, L"port", sink);
    }
    return false;
}

template <typename Optional>
const Sarvo::PortPrimitive* PortOf(const Optional& port) {
    return port ? &*port : nullptr;
}

ServiceBounds PortService(const Sarvo::PortRestrictionCondition& c, std::int64_t protocol,
                          const ValueSink* sink) {
    ServiceBox box{{protocol, 0, 0}, {protocol, 0, 0}};
    if (!InRange(protocol, kMaxByteValue, L"protocol number", sink)) {
        return ServiceBounds::Unknown();
    }
    if (!PortAxis(PortOf(c.SourcePort()), box.lo[1], box.hi[1], sink) ||
        !PortAxis(PortOf(c.DestinationPort()), box.lo[2], box.hi[2], sink)) {
        return ServiceBounds::Unknown();
    }
    return ServiceBounds::OfExact(ServiceSet::OfBox(box));
}

ServiceBounds IcmpService(const Sarvo::IcmpCondition& c, const ValueSink* sink) {
    bool valid = InRange(c.Protocol(), kMaxByteValue, L"protocol number", sink);
    valid = (!c.Type() || InRange(*c.Type(), kMaxByteValue, L"ICMP type", sink)) && valid;
    valid = (!c.Code() || InRange(*c.Code(), kMaxByteValue, L"ICMP code", sink)) && valid;
    if (!valid) {
        return ServiceBounds::Unknown();
    }
    ServiceBox box = AllPortsOf(c.Protocol());
    if (c.Type()) {
        box.lo[1] = box.hi[1] = *c.Type();
    }
    if (c.Code()) {
        box.lo[2] = box.hi[2] = *c.Code();
    }
    return ServiceBounds::OfExact(ServiceSet::OfBox(box));
}

}  // namespace

Token Interner::Intern(const std::wstring& text, ConditionFamily family,
                       const Sarvo::AbstractCondition& source) {
    const auto [at, inserted] = tokens_.emplace(text, static_cast<Token>(tokens_.size()));
    if (inserted) {
        texts_.push_back(&at->first);
        sources_.emplace_back();
    }
    const Sarvo::AbstractCondition*& first = sources_[at->second][static_cast<std::size_t>(family)];
    if (first == nullptr) {
        first = &source;
    }
    return at->second;
}

std::optional<Token> Interner::Find(const std::wstring& text) const {
    const auto at = tokens_.find(text);
    return at == tokens_.end() ? std::nullopt : std::optional<Token>(at->second);
}

ConditionEvaluator::ConditionEvaluator(const ObjectCatalog& catalog, Interner& interner)
    : catalog_(catalog), interner_(interner) {}

Token ConditionEvaluator::SystemToken(const std::wstring& name, ConditionFamily family,
                                      const Sarvo::AbstractCondition& source) {
    return interner_.Intern(L"system:" + name, family, source);
}

template <typename E, typename Object, typename Evaluate>
Bounds<E> ConditionEvaluator::Resolve(Memo<E>& memo, NamedObjectType type, std::int32_t id,
                                      Evaluate evaluate) {
    const auto done = memo.done.find(id);
    if (done != memo.done.end()) {
        return done->second;
    }
    const ObjectEntry* entry = catalog_.Find(type, id);
    if (entry == nullptr || memo.active.size() >= kMaxNesting || !memo.active.insert(id).second) {
        return Bounds<E>::Unknown();
    }
    const auto* object = dynamic_cast<const Object*>(entry->element);
    Bounds<E> result =
        object != nullptr ? ObjectContent<E>(*object, evaluate) : Bounds<E>::Unknown();
    memo.active.erase(id);
    return memo.done.emplace(id, std::move(result)).first->second;
}

HostBounds ConditionEvaluator::IpPrimitive(const Sarvo::IpHostCondition& c, const ValueSink* sink) {
    std::optional<AddressSet> set;
    if (const auto* address = dynamic_cast<const Sarvo::IpAddress*>(&c)) {
        const std::optional<Address> parsed = ParseAddress(address->Value());
        if (!parsed) {
            IsAddress(address->Value(), sink);
            return HostBounds::OfToken(
                interner_.Intern(L"address:" + address->Value(), ConditionFamily::eHost, c));
        }
        set = SingleAddress(*parsed);
    } else if (const auto* mask = dynamic_cast<const Sarvo::IpMask*>(&c)) {
        const bool netValid = IsAddress(mask->Net().Value(), sink);
        const bool maskValid =
            IsMask(mask->Mask().Value(), ParseAddress(mask->Net().Value()), sink);
        if (netValid && maskValid) {
            set = MaskedNetwork(mask->Net().Value(), mask->Mask().Value());
        }
    } else if (const auto* range = dynamic_cast<const Sarvo::IpRange*>(&c)) {
        const bool beginValid = IsAddress(range->Begin().Value(), sink);
        const bool endValid = IsAddress(range->End().Value(), sink);
        if (beginValid && endValid) {
            set = AddressRange(range->Begin().Value(), range->End().Value());
            if (!set) {
                Report(sink, LintCode::kInvalidValue,
                       L"address range " + range->Begin().Value() + L"-" + range->End().Value() +
                           L" mixes IPv4 and IPv6");
            }
        }
        if (set && set->IsEmpty()) {
            Report(sink, LintCode::kInvalidValue,
                   L"address range " + range->Begin().Value() + L"-" + range->End().Value() +
                       L" ends below its start");
        }
    }
    return set ? HostBounds::OfExact(*set) : HostBounds::Unknown();
}

HostBounds ConditionEvaluator::Host(const Sarvo::IpHostCondition& c, const ValueSink* sink) {
    if (dynamic_cast<const Sarvo::IpPrimitive*>(&c) != nullptr) {
        return IpPrimitive(c, sink);
    }
    if (const auto* name = dynamic_cast<const Sarvo::DomainName*>(&c)) {
        return HostBounds::OfToken(
            interner_.Intern(L"domain:" + Lower(name->Value()), ConditionFamily::eHost, c));
    }
    if (const auto* ref = dynamic_cast<const Sarvo::IpObjectRef*>(&c)) {
        return Resolve<AddressSet, Sarvo::IpObject>(
            hosts_, eIpAddressObject, ref->Id(),
            [this](const Sarvo::IpHostCondition& e) { return Host(e, nullptr); });
    }
    if (const auto* system = dynamic_cast<const Sarvo::IpSystemObjectRef*>(&c)) {
        return HostBounds::OfToken(SystemToken(system->Name(), ConditionFamily::eHost, c));
    }
    return HostBounds::Unknown();
}

InterfaceBounds ConditionEvaluator::Interface(const Sarvo::InterfaceCondition& c,
                                              const ValueSink* sink) {
    if (const auto* simple = dynamic_cast<const Sarvo::SimpleInterface*>(&c)) {
        return InterfaceBounds::OfToken(
            interner_.Intern(L"interface:" + simple->Value(), ConditionFamily::eInterface, c));
    }
    if (const auto* byIp = dynamic_cast<const Sarvo::InterfaceByIp*>(&c)) {
        const HostBounds addresses = IpPrimitive(byIp->Condition(), sink);
        if (!addresses.upper.tokens.empty() || !addresses.lower.tokens.empty() ||
            !addresses.upper.exact.IsSubsetOf(addresses.lower.exact)) {
            return InterfaceBounds::Unknown();
        }
        return InterfaceBounds::OfExact(InterfaceAddressSet{addresses.lower.exact});
    }
    if (const auto* ref = dynamic_cast<const Sarvo::InterfaceObjectRef*>(&c)) {
        return Resolve<InterfaceAddressSet, Sarvo::InterfaceObject>(
            interfaces_, eInterfaceObject, ref->Id(),
            [this](const Sarvo::InterfaceCondition& e) { return Interface(e, nullptr); });
    }
    if (const auto* system = dynamic_cast<const Sarvo::InterfaceSystemObjectRef*>(&c)) {
        return InterfaceBounds::OfToken(
            SystemToken(system->Name(), ConditionFamily::eInterface, c));
    }
    return InterfaceBounds::Unknown();
}

VpnBounds ConditionEvaluator::Vpn(const Sarvo::VpnHostCondition& c, const ValueSink*) {
    if (const auto* node = dynamic_cast<const Sarvo::VpnNodeId*>(&c)) {
        return VpnBounds::OfToken(interner_.Intern(L"node:" + std::to_wstring(node->Value()),
                                                   ConditionFamily::eVpnHost, c));
    }
    if (const auto* network = dynamic_cast<const Sarvo::VpnNetworkId*>(&c)) {
        return VpnBounds::OfToken(interner_.Intern(L"network:" + std::to_wstring(network->Value()),
                                                   ConditionFamily::eVpnHost, c));
    }
    if (const auto* name = dynamic_cast<const Sarvo::VpnNameTemplate*>(&c)) {
        return VpnBounds::OfToken(
            interner_.Intern(L"template:" + name->Template(), ConditionFamily::eVpnHost, c));
    }
    if (const auto* ref = dynamic_cast<const Sarvo::VpnObjectRef*>(&c)) {
        return Resolve<NoExact, Sarvo::VpnObject>(
            vpns_, eSarvoGroupObject, ref->Id(),
            [this](const Sarvo::VpnHostCondition& e) { return Vpn(e, nullptr); });
    }
    if (const auto* system = dynamic_cast<const Sarvo::VpnSystemObjectRef*>(&c)) {
        return VpnBounds::OfToken(SystemToken(system->Name(), ConditionFamily::eVpnHost, c));
    }
    return VpnBounds::Unknown();
}

ServiceBounds ConditionEvaluator::Service(const Sarvo::ServiceCondition& c, const ValueSink* sink) {
    if (const auto* tcp = dynamic_cast<const Sarvo::TcpCondition*>(&c)) {
        return PortService(*tcp, tcp->Protocol(), sink);
    }
    if (const auto* udp = dynamic_cast<const Sarvo::UdpCondition*>(&c)) {
        return PortService(*udp, udp->Protocol(), sink);
    }
    if (const auto* icmp = dynamic_cast<const Sarvo::IcmpCondition*>(&c)) {
        return IcmpService(*icmp, sink);
    }
    if (const auto* protocol = dynamic_cast<const Sarvo::ProtocolCondition*>(&c)) {
        if (!InRange(protocol->Protocol(), kMaxByteValue, L"protocol number", sink)) {
            return ServiceBounds::Unknown();
        }
        return ServiceBounds::OfExact(ServiceSet::OfBox(AllPortsOf(protocol->Protocol())));
    }
    if (const auto* ref = dynamic_cast<const Sarvo::ServiceObjectRef*>(&c)) {
        return Resolve<ServiceSet, Sarvo::ServiceObject>(
            services_, eServiceObject, ref->Id(),
            [this](const Sarvo::ServiceCondition& e) { return Service(e, nullptr); });
    }
    if (const auto* system = dynamic_cast<const Sarvo::ServiceSystemObjectRef*>(&c)) {
        return ServiceBounds::OfToken(SystemToken(system->Name(), ConditionFamily::eService, c));
    }
    return ServiceBounds::Unknown();
}

ScheduleBounds ConditionEvaluator::Schedule(const Sarvo::ScheduleCondition& c,
                                            const ValueSink* sink) {
    if (const auto* weekly = dynamic_cast<const Sarvo::Weekly*>(&c)) {
        return Window(*weekly, DayBits(weekly->WeekDays()), sink);
    }
    if (const auto* calendar = dynamic_cast<const Sarvo::Calendar*>(&c)) {
        return CalendarSpan(*calendar, sink);
    }
    if (const auto* daily = dynamic_cast<const Sarvo::Schedule*>(&c)) {
        return Window(*daily, 0x7f, sink);
    }
    if (const auto* ref = dynamic_cast<const Sarvo::ScheduleObjectRef*>(&c)) {
        return Resolve<ScheduleSet, Sarvo::ScheduleObject>(
            schedules_, eScheduleObject, ref->Id(),
            [this](const Sarvo::ScheduleCondition& e) { return Schedule(e, nullptr); });
    }
    if (const auto* system = dynamic_cast<const Sarvo::ScheduleSystemObjectRef*>(&c)) {
        return ScheduleBounds::OfToken(SystemToken(system->Name(), ConditionFamily::eSchedule, c));
    }
    return ScheduleBounds::Unknown();
}

namespace {

enum class Moment { eIn, eOut, eOpen };

// What the sets say of one moment, as the query reads them.
Moment MomentOf(const ScheduleBounds& b, std::uint64_t second) {
    if (b.lower.IsFull() || HoldsSecond(b.lower.exact, second)) {
        return Moment::eIn;
    }
    const bool inUpper = b.upper.IsFull() || HoldsSecond(b.upper.exact, second);
    const bool tokensMay = !b.upper.tokens.empty() && !HoldsSecond(b.upper.tokenCut, second);
    return inUpper || tokensMay ? Moment::eOpen : Moment::eOut;
}

ScheduleBounds BoundsOf(Moment m, const ScheduleBounds& open) {
    switch (m) {
        case Moment::eIn:
            return ScheduleBounds::Full();
        case Moment::eOut:
            return ScheduleBounds::Empty();
        default:
            return open;
    }
}

}  // namespace

ScheduleBounds ConditionEvaluator::ScheduleAt(const Sarvo::ScheduleCondition& c,
                                              std::uint64_t second) {
    const ScheduleBounds sets = Schedule(c, nullptr);
    const Moment known = MomentOf(sets, second);
    const auto* ref = dynamic_cast<const Sarvo::ScheduleObjectRef*>(&c);
    if (known != Moment::eOpen || ref == nullptr) {
        return BoundsOf(known, sets);
    }
    if (second != momentSecond_) {
        moments_.clear();
        momentSecond_ = second;
    }
    const auto done = moments_.find(ref->Id());
    if (done != moments_.end()) {
        return done->second;
    }
    const ObjectEntry* entry = catalog_.Find(eScheduleObject, ref->Id());
    const auto* object =
        entry != nullptr ? dynamic_cast<const Sarvo::ScheduleObject*>(entry->element) : nullptr;
    if (object == nullptr || momentActive_.size() >= kMaxNesting ||
        !momentActive_.insert(ref->Id()).second) {
        return sets;
    }
    // Held when an inclusion holds the moment and no exclusion does; out
    // when no inclusion may hold it or an exclusion holds it.
    const auto any = [&](const auto& members) {
        Moment m = Moment::eOut;
        for (const auto& member : members) {
            const Moment each = MomentOf(ScheduleAt(member, second), second);
            if (each == Moment::eIn) {
                return Moment::eIn;
            }
            if (each == Moment::eOpen) {
                m = Moment::eOpen;
            }
        }
        return m;
    };
    const Moment included = any(object->Inclusion());
    const Moment excluded = any(object->Exclusion());
    momentActive_.erase(ref->Id());
    Moment m = Moment::eOpen;
    if (included == Moment::eOut || excluded == Moment::eIn) {
        m = Moment::eOut;
    } else if (included == Moment::eIn && excluded == Moment::eOut) {
        m = Moment::eIn;
    }
    return moments_.emplace(ref->Id(), BoundsOf(m, sets)).first->second;
}

void CheckTranslation(const Sarvo::Translation& translation, const ValueSink& sink) {
    const ValueSink* s = &sink;
    if (translation.SourceIp()) {
        IsAddress(translation.SourceIp()->Value(), s, L"translated source address");
    }
    if (translation.DestinationIp()) {
        IsAddress(translation.DestinationIp()->Value(), s, L"translated destination address");
    }
    if (translation.DestinationPort()) {
        InRange(translation.DestinationPort()->Value(), ServiceSet::kMaxPort,
                L"translated destination port", s);
    }
}

void ConditionEvaluator::CheckObject(const ObjectEntry& entry, const ValueSink& sink) {
    const Sarvo::NamedObject* e = entry.element;
    const ValueSink* s = &sink;
    if (const auto* ip = dynamic_cast<const Sarvo::IpObject*>(e)) {
        ObjectContent<AddressSet>(*ip, [&](const auto& c) { return Host(c, s); });
    } else if (const auto* iface = dynamic_cast<const Sarvo::InterfaceObject*>(e)) {
        ObjectContent<InterfaceAddressSet>(*iface, [&](const auto& c) { return Interface(c, s); });
    } else if (const auto* vpn = dynamic_cast<const Sarvo::VpnObject*>(e)) {
        ObjectContent<NoExact>(*vpn, [&](const auto& c) { return Vpn(c, s); });
    } else if (const auto* service = dynamic_cast<const Sarvo::ServiceObject*>(e)) {
        ObjectContent<ServiceSet>(*service, [&](const auto& c) { return Service(c, s); });
    } else if (const auto* schedule = dynamic_cast<const Sarvo::ScheduleObject*>(e)) {
        ObjectContent<ScheduleSet>(*schedule, [&](const auto& c) { return Schedule(c, s); });
    }
}

}  // namespace fwcommon::lint
