// Random transit policies of 2,000 rules, drawn from conditions whose
// meaning a few lines state exactly (IPv4 addresses, masks and ranges,
// IP objects nested and with exclusions, interface names, TCP and UDP
// ports, ICMP, protocols, service objects, weekly windows, calendar spans,
// schedule objects, both-ways rules, inactive rules, OrderIds out of
// document order), and random flows that give every coordinate. Each flow
// is asked of the query with every matching rule listed and evaluated here
// by brute force on the generator's own model of the rules: both must list
// the same rules, and no rule the lint finds shadowed or redundant may
// decide a flow.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/PolicyDocument.h>
#include <fwcommon/PolicyLint.h>
#include <fwcommon/PolicyQuery.h>

#include "common/TestFiles.h"
#include "lint/QueryPolicyText.h"

namespace fwcommon::test {
namespace {

using namespace lint;

constexpr std::size_t kRules = 2000;
constexpr std::size_t kFlows = 400;
constexpr std::size_t kListEvery = 25;
constexpr std::uint32_t kBaseAddress = (10u << 24);  // 10.0.0.0
constexpr std::uint32_t kAddressSpan = 1024;         // 10.0.0.0 to 10.0.3.255
constexpr int kPortLow = 20;
constexpr int kPortHigh = 120;
constexpr int kDay = 86400;
constexpr int kIpObjects = 40;
constexpr int kServiceObjects = 15;
constexpr int kScheduleObjects = 8;
constexpr int kTcp = 6;
constexpr int kUdp = 17;
constexpr int kIcmp = 1;
const std::array<int, 5> kProtocols = {kTcp, kUdp, kIcmp, 47, 50};
const std::array<const char*, 4> kInterfaces = {"eth0", "eth1", "eth2", "eth3"};

// ---- The model of the generated policy.

struct HostCondition {
    enum class Kind { eAddress, eMask, eRange, eObject } kind = Kind::eAddress;
    std::uint32_t lo = 0;  // address, network or first address
    std::uint32_t hi = 0;  // mask or last address
    int object = 0;
};

struct IpObjectModel {
    std::vector<HostCondition> inclusions;
    std::vector<HostCondition> exclusions;
};

struct ServiceCondition {
    enum class Kind { ePorts, eIcmp, eProtocol, eObject } kind = Kind::ePorts;
    int protocol = kTcp;
    std::optional<std::pair<int, int>> sourcePorts;
    std::optional<std::pair<int, int>> destinationPorts;
    std::optional<int> icmpType;
    std::optional<int> icmpCode;
    int object = 0;
};

struct ServiceObjectModel {
    std::vector<ServiceCondition> inclusions;
    std::vector<ServiceCondition> exclusions;
};

// A weekly window (days bit 0 Monday), a calendar span (seconds from
// 1970-01-01 00:00:00) or a schedule object.
struct ScheduleCondition {
    enum class Kind { eWeekly, eCalendar, eObject } kind = Kind::eWeekly;
    unsigned days = 0;
    int start = 0;  // second of day
    int end = 0;
    std::int64_t from = 0;
    std::int64_t to = 0;
    int object = 0;
};

struct ScheduleObjectModel {
    std::vector<ScheduleCondition> inclusions;  // weekly windows only
    std::vector<ScheduleCondition> exclusions;
};

struct SideModel {
    std::optional<int> nic;  // index into kInterfaces
    std::vector<HostCondition> hosts;
    bool Present() const { return nic || !hosts.empty(); }
};

struct RuleModel {
    long long id = 0;
    long long order = 0;
    std::vector<ScheduleCondition> schedule;
    SideModel source;
    std::vector<ServiceCondition> services;
    SideModel destination;
    bool pass = true;
    bool active = true;
    bool bothWays = false;
};

struct PolicyModel {
    std::vector<IpObjectModel> ipObjects;  // object i has Id i + 1
    std::vector<ServiceObjectModel> serviceObjects;
    std::vector<ScheduleObjectModel> scheduleObjects;
    std::vector<RuleModel> rules;  // in document order
};

struct Flow {
    std::uint32_t from = 0;
    std::uint32_t to = 0;
    int in = 0;
    int out = 0;
    int protocol = kTcp;
    int sourcePort = 0;       // ICMP: the type
    int destinationPort = 0;  // ICMP: the code
    std::int64_t second = 0;  // from 1970-01-01 00:00:00
};

// ---- Brute force over the model.

template <typename C, typename F>
bool AnyOf(const std::vector<C>& list, F holds) {
    return std::any_of(list.begin(), list.end(), holds);
}

class BruteForce {
public:
    explicit BruteForce(const PolicyModel& model) : model_(model) {}

    bool Hosts(const std::vector<HostCondition>& list, std::uint32_t a) const {
        return AnyOf(list, [&](const HostCondition& c) { return Host(c, a); });
    }

    bool Host(const HostCondition& c, std::uint32_t a) const {
        switch (c.kind) {
            case HostCondition::Kind::eAddress:
                return a == c.lo;
            case HostCondition::Kind::eMask:
                return (a & c.hi) == c.lo;
            case HostCondition::Kind::eRange:
                return c.lo <= a && a <= c.hi;
            case HostCondition::Kind::eObject: {
                const IpObjectModel& o = model_.ipObjects[c.object - 1];
                return Hosts(o.inclusions, a) && !Hosts(o.exclusions, a);
            }
        }
        return false;
    }

    bool Services(const std::vector<ServiceCondition>& list, const Flow& f) const {
        return AnyOf(list, [&](const ServiceCondition& c) { return Service(c, f); });
    }

    bool Service(const ServiceCondition& c, const Flow& f) const {
        const auto within = [](const std::optional<std::pair<int, int>>& r, int v) {
            return !r || (r->first <= v && v <= r->second);
        };
        switch (c.kind) {
            case ServiceCondition::Kind::ePorts:
                return f.protocol == c.protocol && within(c.sourcePorts, f.sourcePort) &&
                       within(c.destinationPorts, f.destinationPort);
            case ServiceCondition::Kind::eIcmp:
                return f.protocol == kIcmp && (!c.icmpType || *c.icmpType == f.sourcePort) &&
                       (!c.icmpCode || *c.icmpCode == f.destinationPort);
            case ServiceCondition::Kind::eProtocol:
                return f.protocol == c.protocol;
            case ServiceCondition::Kind::eObject: {
                const ServiceObjectModel& o = model_.serviceObjects[c.object - 1];
                return Services(o.inclusions, f) && !Services(o.exclusions, f);
            }
        }
        return false;
    }

    bool Schedules(const std::vector<ScheduleCondition>& list, std::int64_t second) const {
        return AnyOf(list, [&](const ScheduleCondition& c) { return Schedule(c, second); });
    }

    bool Schedule(const ScheduleCondition& c, std::int64_t second) const {
        switch (c.kind) {
            case ScheduleCondition::Kind::eWeekly: {
                // The C library's calendar, not the lint's day arithmetic.
                const std::time_t t = static_cast<std::time_t>(second);
                std::tm tm{};
                gmtime_r(&t, &tm);
                const int monday0 = (tm.tm_wday + 6) % 7;
                const int ofDay = tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec;
                return (c.days >> monday0 & 1u) != 0 && c.start <= ofDay && ofDay <= c.end;
            }
            case ScheduleCondition::Kind::eCalendar:
                return c.from <= second && second <= c.to;
            case ScheduleCondition::Kind::eObject: {
                const ScheduleObjectModel& o = model_.scheduleObjects[c.object - 1];
                return Schedules(o.inclusions, second) && !Schedules(o.exclusions, second);
            }
        }
        return false;
    }

    bool Side(const SideModel& side, std::uint32_t address, int nic) const {
        return (!side.nic || *side.nic == nic) &&
               (side.hosts.empty() || Hosts(side.hosts, address));
    }

    bool OneWay(const RuleModel& r, const Flow& f) const {
        return (r.schedule.empty() || Schedules(r.schedule, f.second)) &&
               Side(r.source, f.from, f.in) && (r.services.empty() || Services(r.services, f)) &&
               Side(r.destination, f.to, f.out);
    }

    static Flow Reversed(Flow f) {
        std::swap(f.from, f.to);
        std::swap(f.in, f.out);
        if (f.protocol == kTcp || f.protocol == kUdp) {
            std::swap(f.sourcePort, f.destinationPort);
        }
        return f;
    }

private:
    const PolicyModel& model_;
};

// ---- The generator.

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}

    PolicyModel Policy() {
        PolicyModel m;
        for (int i = 0; i < kIpObjects; ++i) {
            m.ipObjects.push_back(IpObjectOf(i + 1));
        }
        for (int i = 0; i < kServiceObjects; ++i) {
            m.serviceObjects.push_back(ServiceObjectOf(i + 1));
        }
        for (int i = 0; i < kScheduleObjects; ++i) {
            ScheduleObjectModel o;
            o.inclusions = {Weekly(), Weekly()};
            if (Chance(50)) {
                o.exclusions = {Chance(50) ? Weekly() : Calendar()};
            }
            m.scheduleObjects.push_back(o);
        }
        std::vector<long long> orders(kRules);
        for (std::size_t i = 0; i < kRules; ++i) {
            orders[i] = 300000 + static_cast<long long>(i) * 3;
        }
        std::shuffle(orders.begin(), orders.end(), random_);
        for (std::size_t i = 0; i < kRules; ++i) {
            m.rules.push_back(RuleOf(300001 + static_cast<long long>(i), orders[i]));
        }
        return m;
    }

    // A flow, often at a point that some rule's conditions name, as often
    // one of the favoured rules as any rule.
    Flow FlowFor(const PolicyModel& m, const std::vector<const RuleModel*>& favoured) {
        Flow f;
        f.from = AnyAddress();
        f.to = AnyAddress();
        f.in = Int(0, kInterfaces.size() - 1);
        f.out = Int(0, kInterfaces.size() - 1);
        f.protocol = kProtocols[Int(0, kProtocols.size() - 1)];
        f.sourcePort = f.protocol == kIcmp ? Int(0, 5) : Int(kPortLow - 5, kPortHigh + 5);
        f.destinationPort = f.protocol == kIcmp ? Int(0, 3) : Int(kPortLow - 5, kPortHigh + 5);
        f.second = DecemberStart() + Int(0, 40 * kDay);
        const int aim = Int(0, 99);
        if (aim < 40 && !favoured.empty()) {
            AimAt(m, *favoured[Int(0, favoured.size() - 1)], f);
        } else if (aim < 80) {
            AimAt(m, m.rules[Int(0, m.rules.size() - 1)], f);
        }
        return f;
    }

private:
    int Int(std::size_t lo, std::size_t hi) {
        return static_cast<int>(std::uniform_int_distribution<std::size_t>(lo, hi)(random_));
    }
    bool Chance(int percent) { return Int(0, 99) < percent; }

    static std::int64_t DecemberStart() { return 1796083200; }  // 2026-12-01 00:00:00

    std::uint32_t AnyAddress() { return kBaseAddress + Int(0, kAddressSpan - 1); }

    HostCondition Host(int below) {
        HostCondition c;
        const int kind = Int(0, below > 1 ? 9 : 7);
        if (kind < 3) {
            c.kind = HostCondition::Kind::eAddress;
            c.lo = AnyAddress();
        } else if (kind < 5) {
            c.kind = HostCondition::Kind::eMask;
            const int prefix = Int(24, 30);
            c.hi = ~0u << (32 - prefix);
            c.lo = AnyAddress() & c.hi;
        } else if (kind < 8) {
            c.kind = HostCondition::Kind::eRange;
            c.lo = AnyAddress();
            c.hi = std::min<std::uint32_t>(c.lo + Int(0, 64), kBaseAddress + kAddressSpan - 1);
        } else {
            c.kind = HostCondition::Kind::eObject;
            c.object = Int(1, below - 1);
        }
        return c;
    }

    // Objects refer only to objects of lower Id, so there is no cycle.
    IpObjectModel IpObjectOf(int id) {
        IpObjectModel o;
        for (int n = Int(1, 3); n > 0; --n) {
            o.inclusions.push_back(Host(id));
        }
        for (int n = Int(0, 2); n > 0; --n) {
            o.exclusions.push_back(Host(id));
        }
        return o;
    }

    std::pair<int, int> PortRange() {
        const int lo = Int(kPortLow, kPortHigh);
        return {lo, std::min(kPortHigh, lo + Int(0, 30))};
    }

    ServiceCondition Service(int below) {
        ServiceCondition c;
        const int kind = Int(0, below > 1 ? 9 : 8);
        if (kind < 5) {
            c.kind = ServiceCondition::Kind::ePorts;
            c.protocol = Chance(60) ? kTcp : kUdp;
            if (Chance(30)) {
                c.sourcePorts = PortRange();
            }
            if (!c.sourcePorts || Chance(70)) {
                c.destinationPorts = PortRange();
            }
        } else if (kind < 7) {
            c.kind = ServiceCondition::Kind::eIcmp;
            if (Chance(70)) {
                c.icmpType = Int(0, 5);
                if (Chance(50)) {
                    c.icmpCode = Int(0, 3);
                }
            }
        } else if (kind < 9) {
            c.kind = ServiceCondition::Kind::eProtocol;
            c.protocol = kProtocols[Int(0, kProtocols.size() - 1)];
        } else {
            c.kind = ServiceCondition::Kind::eObject;
            c.object = Int(1, below - 1);
        }
        return c;
    }

    ServiceObjectModel ServiceObjectOf(int id) {
        ServiceObjectModel o;
        for (int n = Int(1, 3); n > 0; --n) {
            o.inclusions.push_back(Service(id));
        }
        for (int n = Int(0, 1); n > 0; --n) {
            o.exclusions.push_back(Service(id));
        }
        return o;
    }

    ScheduleCondition Weekly() {
        ScheduleCondition c;
        c.kind = ScheduleCondition::Kind::eWeekly;
        c.days = static_cast<unsigned>(Int(1, 127));
        c.start = Int(0, 20) * 3600 + (Chance(50) ? 0 : Int(0, 3599));
        c.end = std::min(kDay - 1, c.start + Int(1, 10) * 3600 - (Chance(50) ? 1 : 0));
        return c;
    }

    ScheduleCondition Calendar() {
        ScheduleCondition c;
        c.kind = ScheduleCondition::Kind::eCalendar;
        c.from = DecemberStart() + Int(0, 35 * kDay);
        c.to = c.from + Int(0, 5 * kDay);
        return c;
    }

    ScheduleCondition Schedule() {
        const int kind = Int(0, 9);
        if (kind < 5) {
            return Weekly();
        }
        if (kind < 8) {
            return Calendar();
        }
        ScheduleCondition c;
        c.kind = ScheduleCondition::Kind::eObject;
        c.object = Int(1, kScheduleObjects);
        return c;
    }

    SideModel Side(int hostsPercent) {
        SideModel s;
        if (Chance(25)) {
            s.nic = Int(0, kInterfaces.size() - 1);
        }
        if (Chance(hostsPercent)) {
            for (int n = Int(1, 2); n > 0; --n) {
                s.hosts.push_back(Host(kIpObjects + 1));
            }
        }
        return s;
    }

    RuleModel RuleOf(long long id, long long order) {
        RuleModel r;
        r.id = id;
        r.order = order;
        if (Chance(20)) {
            r.schedule.push_back(Schedule());
        }
        // One side at least names hosts, so that few rules cover many.
        const bool sourceHosts = Chance(50);
        r.source = Side(sourceHosts ? 100 : 60);
        if (Chance(80)) {
            for (int n = Int(1, 2); n > 0; --n) {
                r.services.push_back(Service(kServiceObjects + 1));
            }
        }
        r.destination = Side(sourceHosts ? 60 : 100);
        r.pass = Chance(50);
        r.active = !Chance(5);
        r.bothWays = Chance(15);
        return r;
    }

    // Moves the flow's coordinates into the first member of each condition
    // of the rule (an exclusion may still take the point out again).
    void AimAt(const PolicyModel& m, const RuleModel& r, Flow& f) {
        if (!r.source.hosts.empty()) {
            f.from = PointOf(m, r.source.hosts[Int(0, r.source.hosts.size() - 1)]);
        }
        if (!r.destination.hosts.empty()) {
            f.to = PointOf(m, r.destination.hosts[Int(0, r.destination.hosts.size() - 1)]);
        }
        f.in = r.source.nic.value_or(f.in);
        f.out = r.destination.nic.value_or(f.out);
        if (!r.services.empty()) {
            AimService(m, r.services[Int(0, r.services.size() - 1)], f);
        }
        if (!r.schedule.empty()) {
            AimTime(m, r.schedule[0], f);
        }
    }

    // Inside a calendar span, or at an edge of a weekly window give or take
    // a second on a day that may be one of its days; for an object, at one
    // of its members, now and then one it excludes.
    void AimTime(const PolicyModel& m, const ScheduleCondition& c, Flow& f) {
        if (c.kind == ScheduleCondition::Kind::eCalendar) {
            f.second = c.from + Int(0, c.to - c.from);
        } else if (c.kind == ScheduleCondition::Kind::eWeekly) {
            f.second = DecemberStart() + Int(0, 30) * kDay + (Chance(50) ? c.start : c.end) +
                       Int(0, 2) - 1;
        } else {
            const ScheduleObjectModel& o = m.scheduleObjects[c.object - 1];
            const auto& members = !o.exclusions.empty() && Chance(30) ? o.exclusions : o.inclusions;
            AimTime(m, members[Int(0, members.size() - 1)], f);
        }
    }

    std::uint32_t PointOf(const PolicyModel& m, const HostCondition& c) {
        switch (c.kind) {
            case HostCondition::Kind::eAddress:
                return c.lo;
            case HostCondition::Kind::eMask:
                return c.lo + Int(0, ~c.hi);
            case HostCondition::Kind::eRange:
                return c.lo + Int(0, c.hi - c.lo);
            case HostCondition::Kind::eObject: {
                const auto& in = m.ipObjects[c.object - 1].inclusions;
                return PointOf(m, in[Int(0, in.size() - 1)]);
            }
        }
        return c.lo;
    }

    void AimService(const PolicyModel& m, const ServiceCondition& c, Flow& f) {
        switch (c.kind) {
            case ServiceCondition::Kind::ePorts:
                f.protocol = c.protocol;
                f.sourcePort = c.sourcePorts ? Int(c.sourcePorts->first, c.sourcePorts->second)
                                             : Int(kPortLow, kPortHigh);
                f.destinationPort = c.destinationPorts
                                        ? Int(c.destinationPorts->first, c.destinationPorts->second)
                                        : Int(kPortLow, kPortHigh);
                return;
            case ServiceCondition::Kind::eIcmp:
                f.protocol = kIcmp;
                f.sourcePort = c.icmpType.value_or(Int(0, 5));
                f.destinationPort = c.icmpCode.value_or(Int(0, 3));
                return;
            case ServiceCondition::Kind::eProtocol:
                f.protocol = c.protocol;
                return;
            case ServiceCondition::Kind::eObject: {
                const auto& in = m.serviceObjects[c.object - 1].inclusions;
                AimService(m, in[Int(0, in.size() - 1)], f);
                return;
            }
        }
    }

    std::mt19937 random_;
};

// ---- The model as document text.

std::string Dotted(std::uint32_t a) {
    return std::to_string(a >> 24) + "." + std::to_string(a >> 16 & 255) + "." +
           std::to_string(a >> 8 & 255) + "." + std::to_string(a & 255);
}

std::string HostText(const HostCondition& c) {
    switch (c.kind) {
        case HostCondition::Kind::eAddress:
            return Addr(Dotted(c.lo));
        case HostCondition::Kind::eMask:
            return Net(Dotted(c.lo), Dotted(c.hi));
        case HostCondition::Kind::eRange:
            return Span(Dotted(c.lo), Dotted(c.hi));
        case HostCondition::Kind::eObject:
            return IpRef(c.object);
    }
    return "";
}

std::string ServiceText(const ServiceCondition& c) {
    switch (c.kind) {
        case ServiceCondition::Kind::ePorts: {
            const std::string kind = c.protocol == kUdp ? "UdpCondition" : "TcpCondition";
            std::string text = R"(<ServiceCondition xsi:type="sv:)" + kind + "\">";
            if (c.sourcePorts) {
                text += PortElement("SourcePort", c.sourcePorts->first, c.sourcePorts->second);
            }
            if (c.destinationPorts) {
                text += PortElement("DestinationPort", c.destinationPorts->first,
                                    c.destinationPorts->second);
            }
            return text + "<Protocol>" + std::to_string(c.protocol) +
                   "</Protocol></ServiceCondition>";
        }
        case ServiceCondition::Kind::eIcmp: {
            std::string attributes;
            if (c.icmpType) {
                attributes += "Type=\"" + std::to_string(*c.icmpType) + "\" ";
            }
            if (c.icmpCode) {
                attributes += "Code=\"" + std::to_string(*c.icmpCode) + "\"";
            }
            return Icmp(attributes);
        }
        case ServiceCondition::Kind::eProtocol:
            return Protocol(c.protocol);
        case ServiceCondition::Kind::eObject:
            return ServiceRef(c.object);
    }
    return "";
}

std::string TimeOfDay(int second) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", second / 3600, second / 60 % 60,
                  second % 60);
    return text;
}

std::string DateOf(std::int64_t second) {
    const std::time_t t = static_cast<std::time_t>(second);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &tm);
    return text;
}

std::string ScheduleText(const ScheduleCondition& c) {
    switch (c.kind) {
        case ScheduleCondition::Kind::eWeekly: {
            char days[8] = {};
            for (int d = 0; d < 7; ++d) {
                days[d] = (c.days >> d & 1u) ? '1' : '0';
            }
            return Weekly(TimeOfDay(c.start), TimeOfDay(c.end), days);
        }
        case ScheduleCondition::Kind::eCalendar:
            return Calendar(DateOf(c.from), TimeOfDay(static_cast<int>(c.from % kDay)),
                            DateOf(c.to), TimeOfDay(static_cast<int>(c.to % kDay)));
        case ScheduleCondition::Kind::eObject:
            return ScheduleRef(c.object);
    }
    return "";
}

template <typename C, typename F>
std::string Joined(const std::vector<C>& list, F text) {
    std::string out;
    for (const C& c : list) {
        out += text(c);
    }
    return out;
}

std::string SideText(const char* element, const SideModel& s) {
    return std::string("<") + element + R"( xsi:type="sv:PublicNetwork">)" +
           (s.nic ? Nic(kInterfaces[*s.nic]) : "") + Joined(s.hosts, HostText) + "</" + element +
           ">";
}

std::string RuleText(const RuleModel& r) {
    std::string conditions = Joined(r.schedule, ScheduleText);
    if (r.source.Present()) {
        conditions += SideText("Source", r.source);
    }
    conditions += Joined(r.services, ServiceText);
    if (r.destination.Present()) {
        conditions += SideText("Destination", r.destination);
    }
    return RuleOf("TransitRule", r.id, r.order, conditions, r.pass ? "Pass" : "Drop",
                  r.active ? "" : "IsActive=\"false\"", "User",
                  r.bothWays ? "IsBidirectional=\"true\"" : "");
}

// Objects numbered from 1, written by the builder with their members' text.
template <typename Object, typename Builder, typename Text>
std::string ObjectsText(const std::vector<Object>& objects, Builder builder, Text text) {
    std::string out;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        out += builder(static_cast<int>(i + 1), Joined(objects[i].inclusions, text),
                       Joined(objects[i].exclusions, text));
    }
    return out;
}

std::string PolicyText(const PolicyModel& m) {
    return lint::Policy(ObjectsText(m.scheduleObjects, ScheduleObject, ScheduleText) +
                            ObjectsText(m.serviceObjects, ServiceObject, ServiceText) +
                            ObjectsText(m.ipObjects, IpObject, HostText),
                        Joined(m.rules, RuleText));
}

QueryFlow QueryOf(const Flow& f) {
    QueryFlow q;
    q.from.kind = q.to.kind = QueryEndpoint::Kind::eAddress;
    const std::string from = Dotted(f.from);
    const std::string to = Dotted(f.to);
    q.from.text.assign(from.begin(), from.end());
    q.to.text.assign(to.begin(), to.end());
    const std::string in = kInterfaces[f.in];
    const std::string out = kInterfaces[f.out];
    q.inInterface = std::wstring(in.begin(), in.end());
    q.outInterface = std::wstring(out.begin(), out.end());
    q.service = QueryService{f.protocol, f.sourcePort, f.destinationPort};
    const std::time_t t = static_cast<std::time_t>(f.second);
    std::tm tm{};
    gmtime_r(&t, &tm);
    q.at = QueryTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                     tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec};
    return q;
}

// ---- The expected answer: every active rule that matches, in OrderId order.

struct Expected {
    std::size_t position = 0;
    bool reverse = false;
};

std::vector<const RuleModel*> InSectionOrder(const PolicyModel& m) {
    std::vector<const RuleModel*> rules;
    for (const RuleModel& r : m.rules) {
        rules.push_back(&r);
    }
    std::sort(rules.begin(), rules.end(),
              [](const RuleModel* a, const RuleModel* b) { return a->order < b->order; });
    return rules;
}

std::vector<Expected> Matching(const BruteForce& brute, const std::vector<const RuleModel*>& rules,
                               const Flow& f) {
    std::vector<Expected> out;
    for (std::size_t i = 0; i < rules.size(); ++i) {
        const RuleModel& r = *rules[i];
        if (!r.active) {
            continue;
        }
        const bool forward = brute.OneWay(r, f);
        if (forward || (r.bothWays && brute.OneWay(r, BruteForce::Reversed(f)))) {
            out.push_back(Expected{i + 1, !forward});
        }
    }
    return out;
}

// The positions, counted as the query counts them, of the rules that the
// lint reports as covered by an earlier rule (with another action or the same).
std::set<std::size_t> NeverDeciding(const Sarvo::PolicyType& policy) {
    std::set<std::size_t> positions;
    for (const LintFinding& f : LintPolicies({LintDocument{"generated", &policy}})) {
        if (f.code == LintCode::kShadowedRule || f.code == LintCode::kRedundantRule) {
            positions.insert(f.position + 1);  // the lint counts from 0, the query from 1
        }
    }
    return positions;
}

class QueryAgreement : public ::testing::TestWithParam<unsigned> {};

TEST_P(QueryAgreement, FirstMatchAgreesWithBruteForceAndNeverFallsOnAShadowedRule) {
    Generator generator(GetParam());
    const PolicyModel model = generator.Policy();
    const auto policy = ParsePolicyDocument(ToBytes(PolicyText(model)));
    const std::vector<const RuleModel*> rules = InSectionOrder(model);
    const BruteForce brute(model);
    const std::set<std::size_t> shadowed = NeverDeciding(*policy);
    ASSERT_GE(shadowed.size(), 20u) << "the generator should make rules that others cover";
    std::vector<const RuleModel*> shadowedRules;
    for (std::size_t position : shadowed) {
        shadowedRules.push_back(rules[position - 1]);
    }

    QueryOptions options;
    options.sections = {eTransitRules};
    std::size_t decided = 0;
    std::size_t shadowedMatches = 0;
    for (std::size_t n = 0; n < kFlows; ++n) {
        const Flow flow = generator.FlowFor(model, shadowedRules);
        // Every few flows every matching rule is listed, else the query stops
        // at the deciding one.
        options.all = n % kListEvery == 0;
        std::vector<Expected> expected = Matching(brute, rules, flow);
        for (const Expected& e : expected) {
            shadowedMatches += shadowed.count(e.position);
        }
        if (!options.all && expected.size() > 1) {
            expected.resize(1);
        }
        const QuerySectionResult result = QueryPolicy(*policy, nullptr, QueryOf(flow), options)[0];
        // Each listed rule as "position" and "r" when it matches in reverse.
        std::string want;
        std::string got;
        for (const Expected& e : expected) {
            want += std::to_string(e.position) + (e.reverse ? "r " : " ");
        }
        for (const QueryRuleResult& r : result.rules) {
            got += std::to_string(r.position) + (r.reverse ? "r " : " ");
            EXPECT_EQ(QueryAnswer::eMatches, r.answer) << "rule " << r.position << ", flow " << n;
        }
        ASSERT_EQ(want, got) << "flow " << n;
        if (expected.empty()) {
            EXPECT_EQ(QueryDecision::eNoMatch, result.decision) << "flow " << n;
            continue;
        }
        ++decided;
        ASSERT_EQ(std::optional<std::size_t>(0), result.deciding) << "flow " << n;
        const bool pass = rules[expected[0].position - 1]->pass;
        EXPECT_EQ(pass ? QueryDecision::ePass : QueryDecision::eDrop, result.decision)
            << "flow " << n;
        EXPECT_EQ(0u, shadowed.count(expected[0].position))
            << "rule " << expected[0].position << " is reported shadowed but decides flow " << n;
    }
    // The flows reach into the rules: most are decided, and shadowed rules
    // do match flows that earlier rules decide.
    EXPECT_GE(decided, kFlows / 2);
    EXPECT_GE(shadowedMatches, 20u);
}

INSTANTIATE_TEST_SUITE_P(Seeds, QueryAgreement, ::testing::Values(1u, 2u, 3u));

}  // namespace
}  // namespace fwcommon::test
