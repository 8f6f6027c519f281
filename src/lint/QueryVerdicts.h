#pragma once

#include <optional>
#include <string>
#include <vector>

#include <fwcommon/PolicyQuery.h>
#include "lint/LintConditions.h"
#include "lint/LintRuleMatch.h"

namespace fwcommon::lint {

// An answer with what it depends on when it is "may match".
struct Verdict {
    QueryAnswer answer = QueryAnswer::eMatches;
    std::vector<QueryDependency> dependsOn;
};

// Both must hold: the weaker answer, with the dependencies of the parts
// that may match.
Verdict Both(Verdict a, const Verdict& b);
// Either may hold: the stronger answer.
Verdict Either(Verdict a, const Verdict& b);

// One direction of a flow as the rule parts see it: the source end with
// the interface it comes in on, the destination end with the interface it
// leaves by.
struct FlowDirection {
    const QueryEndpoint* source = nullptr;
    const std::optional<std::wstring>* inInterface = nullptr;
    const QueryEndpoint* destination = nullptr;
    const std::optional<std::wstring>* outInterface = nullptr;
    std::optional<QueryService> service;
    std::optional<std::uint64_t> second;  // absolute second, biased as ScheduleSet's
};

// The flow as given, and reversed (ends, interfaces and ports swapped).
FlowDirection ForwardOf(const QueryFlow& flow);
FlowDirection ReverseOf(const QueryFlow& flow);

// Decides the sets of the lint's model for one flow. label names the part
// in dependencies ("source", "in-interface", ...). Uses the interner only
// to read and look up token texts. One thread at a time.
class FlowTester {
public:
    explicit FlowTester(const Interner& interner) : interner_(interner) {}

    Verdict Hosts(const HostBounds& b, const QueryEndpoint& end, const wchar_t* label) const;
    Verdict VpnHosts(const VpnBounds& b, const QueryEndpoint& end, const wchar_t* label) const;
    Verdict Interfaces(const InterfaceBounds& b, const std::optional<std::wstring>& name,
                       const wchar_t* label) const;
    Verdict Service(const ServiceBounds& b, const std::optional<QueryService>& service) const;
    Verdict Schedule(const ScheduleBounds& b, const std::optional<std::uint64_t>& second) const;

    // A side of a rule and one end of the flow with its interface.
    Verdict SideOf(const Side& side, const QueryEndpoint& end,
                   const std::optional<std::wstring>& interfaceName, const wchar_t* label,
                   const wchar_t* interfaceLabel) const;

    // Every part of a rule, in the order schedule, source, service,
    // destination; parts gets each part's answer, decidedBy the first part
    // that does not match.
    Verdict Rule(const RuleMatch& match, const FlowDirection& flow, std::vector<QueryPart>& parts,
                 std::wstring& decidedBy) const;

    // How a token reads in a dependency: "system object \"AllClients\"".
    std::wstring DescribeToken(Token token) const;

private:
    // A dependency on an opaque value, with the condition of the family
    // that named it.
    QueryDependency TokenDependency(const wchar_t* label, Token token,
                                    ConditionFamily family) const;
    bool HasToken(const std::vector<Token>& tokens, const std::wstring& text) const;
    template <typename Region>
    void AddTokens(const Region& region, const wchar_t* label, Verdict& v) const;
    // The answer of one exact value (held by a set when holds says so)
    // between the two bounds of a part: in the lower bound it matches; in
    // neither and with no opaque value in the upper it does not; else it
    // may match, on the upper bound's opaque values and, when the upper
    // holds it, on exclusions the model does not decide.
    template <typename E, typename Holds>
    Verdict BetweenBounds(const Bounds<E>& b, const wchar_t* label, const Holds& holds) const;

    const Interner& interner_;
};

// The service box of a flow's service: open ports span their whole axis.
ServiceBox FlowBox(const QueryService& service);

// True for a protocol whose two service axes are ports (TCP, UDP).
bool HasPorts(std::int64_t protocol);

// Glob match of a VPN node name against a name template: "*" stands for
// any run of characters, "?" for one; letters compare without case.
bool TemplateMatches(const std::wstring& pattern, const std::wstring& name);

}  // namespace fwcommon::lint
