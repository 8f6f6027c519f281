#include "lint/QueryVerdicts.h"

#include <algorithm>
#include <cwctype>

#include "lint/LintAddressSet.h"
#include "lint/LintScheduleSet.h"

namespace fwcommon::lint {
namespace {

constexpr std::int64_t kTcp = 6;
constexpr std::int64_t kUdp = 17;

Verdict Yes() {
    return Verdict{QueryAnswer::eMatches, {}};
}
Verdict No() {
    return Verdict{QueryAnswer::eDoesNotMatch, {}};
}
QueryDependency Dependency(const wchar_t* label, std::wstring text) {
    return QueryDependency{label, false, std::move(text), nullptr};
}
Verdict Maybe(const wchar_t* label, std::wstring because) {
    return Verdict{QueryAnswer::eMayMatch, {Dependency(label, std::move(because))}};
}

// What a set answers for a value the flow leaves open: only a set that
// holds everything matches, only an empty one does not.
template <typename E>
Verdict Open(const Bounds<E>& b, const wchar_t* label) {
    if (b.lower.IsFull()) {
        return Yes();
    }
    if (b.upper.IsEmpty()) {
        return No();
    }
    return Maybe(label, L"not given");
}

bool HoldsAddress(const AddressSet& set, const Address& a) {
    if (a.v6) {
        return set.v6.Contains(a.value, a.value);
    }
    const auto v4 = static_cast<std::uint32_t>(a.value);
    return set.v4.Contains(v4, v4);
}

bool BoxesMeet(const ServiceBox& a, const ServiceBox& b) {
    for (int axis = 0; axis < 3; ++axis) {
        if (a.hi[axis] < b.lo[axis] || b.hi[axis] < a.lo[axis]) {
            return false;
        }
    }
    return true;
}

bool Meets(const ServiceSet& set, const ServiceBox& box) {
    return std::any_of(set.Boxes().begin(), set.Boxes().end(),
                       [&](const ServiceBox& b) { return BoxesMeet(b, box); });
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// A "may match" of an exact part that holds the value in its upper bound
// only: exclusions or windows the model does not decide exactly.
QueryDependency Undecided(const wchar_t* label) {
    return Dependency(label, L"exclusions or windows that the document does not decide");
}

std::wstring SystemText(const std::wstring& name) {
    return L"system:" + name;
}

// The kind of condition whose opaque values a set of this kind holds (of
// the kinds whose tokens AddTokens lists).
ConditionFamily FamilyOf(const AddressSet&) {
    return ConditionFamily::eHost;
}
ConditionFamily FamilyOf(const ServiceSet&) {
    return ConditionFamily::eService;
}
ConditionFamily FamilyOf(const ScheduleSet&) {
    return ConditionFamily::eSchedule;
}

}  // namespace

Verdict Both(Verdict a, const Verdict& b) {
    if (a.answer == QueryAnswer::eDoesNotMatch || b.answer == QueryAnswer::eDoesNotMatch) {
        return No();
    }
    a.answer = std::min(a.answer, b.answer);
    a.dependsOn.insert(a.dependsOn.end(), b.dependsOn.begin(), b.dependsOn.end());
    return a;
}

Verdict Either(Verdict a, const Verdict& b) {
    if (a.answer == QueryAnswer::eMatches || b.answer == QueryAnswer::eDoesNotMatch) {
        return a;
    }
    if (b.answer == QueryAnswer::eMatches || a.answer == QueryAnswer::eDoesNotMatch) {
        return b;
    }
    a.dependsOn.insert(a.dependsOn.end(), b.dependsOn.begin(), b.dependsOn.end());
    return a;
}

bool HasPorts(std::int64_t protocol) {
    return protocol == kTcp || protocol == kUdp;
}

FlowDirection ForwardOf(const QueryFlow& flow) {
    FlowDirection d;
    d.source = &flow.from;
    d.inInterface = &flow.inInterface;
    d.destination = &flow.to;
    d.outInterface = &flow.outInterface;
    d.service = flow.service;
    if (flow.at) {
        d.second =
            AbsoluteSecond(flow.at->year, flow.at->month, flow.at->day, flow.at->secondOfDay);
    }
    return d;
}

FlowDirection ReverseOf(const QueryFlow& flow) {
    FlowDirection d = ForwardOf(flow);
    std::swap(d.source, d.destination);
    std::swap(d.inInterface, d.outInterface);
    if (d.service && HasPorts(d.service->protocol)) {
        std::swap(d.service->sourcePort, d.service->destinationPort);
    }
    return d;
}

ServiceBox FlowBox(const QueryService& service) {
    ServiceBox box = AllPortsOf(service.protocol);
    if (service.sourcePort) {
        box.lo[1] = box.hi[1] = *service.sourcePort;
    }
    if (service.destinationPort) {
        box.lo[2] = box.hi[2] = *service.destinationPort;
    }
    return box;
}

bool TemplateMatches(const std::wstring& pattern, const std::wstring& name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t star = std::wstring::npos;
    std::size_t resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == L'?' || std::towlower(pattern[p]) == std::towlower(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            star = p++;
            resume = n;
        } else if (star != std::wstring::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') {
        ++p;
    }
    return p == pattern.size();
}

std::wstring FlowTester::DescribeToken(Token token) const {
    const std::wstring& text = interner_.Text(token);
    const std::size_t colon = text.find(L':');
    const std::wstring kind = text.substr(0, colon);
    const std::wstring value = colon == std::wstring::npos ? L"" : text.substr(colon + 1);
    if (kind == L"system") {
        return L"system object \"" + value + L"\"";
    }
    if (kind == L"domain") {
        return L"domain name \"" + value + L"\"";
    }
    if (kind == L"address") {
        return L"host \"" + value + L"\", which is no address";
    }
    if (kind == L"interface") {
        return L"interface \"" + value + L"\"";
    }
    if (kind == L"node") {
        return L"VPN node " + value;
    }
    if (kind == L"network") {
        return L"VPN network " + value;
    }
    if (kind == L"template") {
        return L"name template \"" + value + L"\"";
    }
    return text;
}

bool FlowTester::HasToken(const std::vector<Token>& tokens, const std::wstring& text) const {
    const std::optional<Token> token = interner_.Find(text);
    return token && std::binary_search(tokens.begin(), tokens.end(), *token);
}

QueryDependency FlowTester::TokenDependency(const wchar_t* label, Token token,
                                            ConditionFamily family) const {
    return QueryDependency{label, false, DescribeToken(token), interner_.Source(token, family)};
}

template <typename Region>
void FlowTester::AddTokens(const Region& region, const wchar_t* label, Verdict& v) const {
    const ConditionFamily family = FamilyOf(region.exact);
    for (Token t : region.tokens) {
        v.dependsOn.push_back(TokenDependency(label, t, family));
    }
}

template <typename E, typename Holds>
Verdict FlowTester::BetweenBounds(const Bounds<E>& b, const wchar_t* label,
                                  const Holds& holds) const {
    if (b.lower.IsFull() || holds(b.lower.exact)) {
        return Yes();
    }
    const bool inUpper = b.upper.IsFull() || holds(b.upper.exact);
    // An exclusion known to hold the value takes it from the opaque values too.
    const bool tokensMay = !b.upper.tokens.empty() && !holds(b.upper.tokenCut);
    if (!inUpper && !tokensMay) {
        return No();
    }
    Verdict v{QueryAnswer::eMayMatch, {}};
    if (inUpper) {
        v.dependsOn.push_back(Undecided(label));
    }
    if (tokensMay) {
        AddTokens(b.upper, label, v);
    }
    return v;
}

Verdict FlowTester::Hosts(const HostBounds& b, const QueryEndpoint& end,
                          const wchar_t* label) const {
    using Kind = QueryEndpoint::Kind;
    switch (end.kind) {
        case Kind::eUnknown: {
            Verdict v = Open(b, label);
            // The end may be a VPN host, which no public side holds.
            return v.answer == QueryAnswer::eMatches ? Maybe(label, L"not given") : v;
        }
        case Kind::eAddress: {
            const std::optional<Address> address = ParseAddress(end.text);
            if (!address) {
                return Maybe(label, L"not an address");
            }
            return BetweenBounds(
                b, label, [&](const AddressSet& set) { return HoldsAddress(set, *address); });
        }
        case Kind::eSystemObject: {
            if (b.lower.IsFull() || HasToken(b.lower.tokens, SystemText(end.text))) {
                return Yes();
            }
            if (b.upper.IsEmpty()) {
                return No();
            }
            Verdict v{QueryAnswer::eMayMatch, {}};
            if (!b.upper.exact.IsEmpty()) {
                v.dependsOn.push_back(
                    Dependency(label, L"the addresses of system object \"" + end.text + L"\""));
            }
            // An exclusion of this system object takes its hosts from the others.
            if (!HasToken(b.upper.cutTokens, SystemText(end.text))) {
                AddTokens(b.upper, label, v);
            }
            return v.dependsOn.empty() ? No() : v;
        }
        default:
            return No();  // a VPN host is never on a public side
    }
}

Verdict FlowTester::VpnHosts(const VpnBounds& b, const QueryEndpoint& end,
                             const wchar_t* label) const {
    using Kind = QueryEndpoint::Kind;
    if (end.kind == Kind::eUnknown) {
        Verdict v = Open(b, label);
        return v.answer == QueryAnswer::eMatches ? Maybe(label, L"not given") : v;
    }
    if (end.kind == Kind::eAddress) {
        return No();  // an open host is never on a private side
    }
    if (b.lower.IsFull()) {
        return Yes();
    }
    // Which tokens of a region are this end's own value, and which of the
    // others could hold it too.
    const auto own = [&](const std::wstring& text) {
        switch (end.kind) {
            case Kind::eVpnNode:
                return text == L"node:" + std::to_wstring(end.id);
            case Kind::eVpnNetwork:
                return text == L"network:" + std::to_wstring(end.id);
            case Kind::eNodeName:
                return StartsWith(text, L"template:") && TemplateMatches(text.substr(9), end.text);
            default:
                return text == SystemText(end.text);
        }
    };
    const auto cannotHold = [&](const std::wstring& text) {
        switch (end.kind) {
            case Kind::eVpnNode:
                return StartsWith(text, L"node:");
            case Kind::eVpnNetwork:
                return StartsWith(text, L"network:");
            case Kind::eNodeName:
                return StartsWith(text, L"template:");
            default:
                return false;
        }
    };
    for (Token t : b.lower.tokens) {
        if (own(interner_.Text(t))) {
            return Yes();
        }
    }
    // An exclusion of this end's own value takes it from the other values.
    const bool cut = std::any_of(b.upper.cutTokens.begin(), b.upper.cutTokens.end(),
                                 [&](Token t) { return own(interner_.Text(t)); });
    Verdict v{QueryAnswer::eMayMatch, {}};
    if (b.upper.IsFull()) {
        v.dependsOn.push_back(Undecided(label));
    }
    for (std::size_t i = 0; !cut && i < b.upper.tokens.size(); ++i) {
        const std::wstring& text = interner_.Text(b.upper.tokens[i]);
        if (own(text)) {
            v.dependsOn.push_back(Undecided(label));
        } else if (!cannotHold(text)) {
            v.dependsOn.push_back(
                TokenDependency(label, b.upper.tokens[i], ConditionFamily::eVpnHost));
        }
    }
    return v.dependsOn.empty() ? No() : v;
}

Verdict FlowTester::Interfaces(const InterfaceBounds& b, const std::optional<std::wstring>& name,
                               const wchar_t* label) const {
    if (!name) {
        return Open(b, label);
    }
    if (b.lower.IsFull() || HasToken(b.lower.tokens, L"interface:" + *name)) {
        return Yes();
    }
    Verdict v{QueryAnswer::eMayMatch, {}};
    if (b.upper.IsFull() || HasToken(b.upper.tokens, L"interface:" + *name)) {
        v.dependsOn.push_back(Undecided(label));
    }
    if (!b.upper.IsFull() && !b.upper.exact.IsEmpty()) {
        v.dependsOn.push_back(Dependency(label, L"the addresses of interface \"" + *name + L"\""));
    }
    // An interface excluded by name is in none of the other values.
    const bool cut = HasToken(b.upper.cutTokens, L"interface:" + *name);
    for (Token t : b.upper.tokens) {
        if (!cut && !StartsWith(interner_.Text(t), L"interface:")) {
            v.dependsOn.push_back(TokenDependency(label, t, ConditionFamily::eInterface));
        }
    }
    return v.dependsOn.empty() ? No() : v;
}

Verdict FlowTester::Service(const ServiceBounds& b,
                            const std::optional<QueryService>& service) const {
    const wchar_t* label = L"service";
    if (!service) {
        return Open(b, label);
    }
    const ServiceBox box = FlowBox(*service);
    Region<ServiceSet> flowRegion;
    flowRegion.exact = ServiceSet::OfBox(box);
    if (b.lower.Covers(flowRegion)) {
        return Yes();
    }
    const bool meets = b.upper.IsFull() || Meets(b.upper.exact, box);
    const bool tokensMay =
        !b.upper.tokens.empty() && !flowRegion.exact.IsSubsetOf(b.upper.tokenCut);
    if (!meets && !tokensMay) {
        return No();
    }
    Verdict v{QueryAnswer::eMayMatch, {}};
    if (meets) {
        const bool icmp = !HasPorts(service->protocol);
        const bool openAxes = !service->sourcePort || !service->destinationPort;
        if (openAxes && !b.upper.IsFull()) {
            v.dependsOn.push_back(Dependency(
                label, icmp ? L"the ICMP type or code, not given" : L"the ports, not all given"));
        } else {
            v.dependsOn.push_back(Undecided(label));
        }
    }
    if (tokensMay) {
        AddTokens(b.upper, label, v);
    }
    return v;
}

Verdict FlowTester::Schedule(const ScheduleBounds& b,
                             const std::optional<std::uint64_t>& second) const {
    const wchar_t* label = L"schedule";
    if (!second) {
        Verdict v = Open(b, label);
        if (v.answer == QueryAnswer::eMayMatch) {
            v.dependsOn = {Dependency(label, L"the time, not given (--at)")};
        }
        return v;
    }
    return BetweenBounds(b, label,
                         [&](const ScheduleSet& set) { return HoldsSecond(set, *second); });
}

Verdict FlowTester::SideOf(const Side& side, const QueryEndpoint& end,
                           const std::optional<std::wstring>& interfaceName, const wchar_t* label,
                           const wchar_t* interfaceLabel) const {
    switch (side.kind) {
        case SideKind::eAny:
            return Yes();
        case SideKind::ePublic:
            return Both(Interfaces(side.interfaces, interfaceName, interfaceLabel),
                        Hosts(side.hosts, end, label));
        case SideKind::ePrivate:
            return VpnHosts(side.vpnHosts, end, label);
        default:
            return Maybe(label, L"a side of no known kind");
    }
}

Verdict FlowTester::Rule(const RuleMatch& match, const FlowDirection& flow,
                         std::vector<QueryPart>& parts, std::wstring& decidedBy) const {
    const Verdict each[] = {
        Schedule(match.schedule, flow.second),
        SideOf(match.source, *flow.source, *flow.inInterface, L"source", L"in-interface"),
        Service(match.service, flow.service),
        SideOf(match.destination, *flow.destination, *flow.outInterface, L"destination",
               L"out-interface"),
    };
    const wchar_t* names[] = {L"schedule", L"source", L"service", L"destination"};
    parts.clear();
    decidedBy.clear();
    Verdict all;
    for (std::size_t i = 0; i < 4; ++i) {
        parts.push_back(QueryPart{names[i], each[i].answer});
        if (each[i].answer == QueryAnswer::eDoesNotMatch && decidedBy.empty()) {
            decidedBy = names[i];
        }
        all = Both(std::move(all), each[i]);
    }
    return all;
}

}  // namespace fwcommon::lint
