#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <fwcommon/RuleType.h>
#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// Which rule of a policy decides one flow of traffic, and why.
//
// The query reasons on the same sets as the lint (PolicyLint.h): each part
// of a rule (schedule, source, service, destination) is the set its
// conditions match, with named objects resolved through their inclusions
// and exclusions and opaque values (domain names, interface names, system
// objects, VPN hosts) kept as such. A flow is a point in that space where
// some coordinates may be left open. A rule matches when every part is
// proved to hold the flow whatever the open coordinates are, does not match
// when some part is proved not to hold it, and may match otherwise; a
// rule that may match carries what the answer depends on.

// The three answers.
enum class QueryAnswer : std::int32_t { eDoesNotMatch = 0, eMayMatch = 1, eMatches = 2 };

// One end of the flow.
//  eUnknown: not given (any rule that restricts this side may match);
//  eAddress: one IPv4 or IPv6 address of an open (public) host;
//  eVpnNode / eVpnNetwork: a VPN node by identifier, a host of a VPN network;
//  eNodeName: a VPN node by name, matched against name templates;
//  eSystemObject: a host known to belong to the system object of that name.
struct QueryEndpoint {
    enum class Kind : std::int32_t {
        eUnknown,
        eAddress,
        eVpnNode,
        eVpnNetwork,
        eNodeName,
        eSystemObject
    };
    Kind kind = Kind::eUnknown;
    std::wstring text;    // the address, the node name or the system object name
    std::int64_t id = 0;  // the node or network identifier
};

// The service of the flow: a protocol number and, for TCP and UDP, the
// ports, for ICMP (protocols 1 and 58) the type and code. An absent port,
// type or code is open.
struct QueryService {
    std::int64_t protocol = 0;
    std::optional<std::int64_t> sourcePort;       // ICMP: the type
    std::optional<std::int64_t> destinationPort;  // ICMP: the code
};

// The moment of the flow as the node's clock shows it (the schedules of a
// policy carry no zone).
struct QueryTime {
    std::int64_t year = 1970;
    std::int64_t month = 1;
    std::int64_t day = 1;
    std::int64_t secondOfDay = 0;
};

// One flow; what is absent is open, not "any".
struct QueryFlow {
    QueryEndpoint from;
    QueryEndpoint to;
    std::optional<std::wstring> inInterface;
    std::optional<std::wstring> outInterface;
    std::optional<QueryService> service;
    std::optional<QueryTime> at;
};

// One line of an explanation: depth 0 is a part of the rule, deeper lines
// are the conditions and object members under it.
//  text: a plain description of the line;
//  condition: the condition the line is about, as the document holds it
//             (a schedule, interface, IP host, VPN host or service
//             condition), for callers that write conditions in their own
//             words; null on a part's line and on the line of a part
//             without conditions (which holds everything);
//  place: whether that condition is one of the rule's own or an
//         inclusion or exclusion of the object on the line above it.
struct QueryReason {
    enum class Place : std::int32_t { eRule, eInclusion, eExclusion };
    std::size_t depth = 0;
    QueryAnswer answer = QueryAnswer::eDoesNotMatch;
    std::wstring text;
    const Sarvo::AbstractCondition* condition = nullptr;
    Place place = Place::eRule;
};

// What a rule's part ("schedule", "source", "service", "destination")
// answers for the flow.
struct QueryPart {
    std::wstring part;
    QueryAnswer answer = QueryAnswer::eMatches;
};

// One thing a "may match" depends on.
//  about: the part of the rule or of the flow it concerns ("schedule",
//         "source", "in-interface", "service", "destination",
//         "out-interface");
//  reverse: it concerns the reverse direction of a both-ways rule;
//  text: what it is, in plain words ("not given", "domain name
//        \"intranet\"", "system object \"InternetIP\"");
//  condition: for a value the document names but cannot decide (a system
//             object, a domain name, an interface, a VPN host, a host that
//             is no address), a condition of the rule or of one of its
//             objects that names it, for callers that write conditions in
//             their own words; else null.
struct QueryDependency {
    std::wstring about;
    bool reverse = false;
    std::wstring text;
    const Sarvo::AbstractCondition* condition = nullptr;
};

// The answer of one rule.
//  reverse: a both-ways rule that answers through the reverse direction
//           (destination to source);
//  decidedBy: for a rule that does not match, the first part that does not;
//  dependsOn: for a rule that may match, what the answer depends on;
//  explanation: filled when asked for, for rules that match or may match.
struct QueryRuleResult {
    const Sarvo::Rule* rule = nullptr;
    std::size_t position = 0;  // 1-based, in section order
    QueryAnswer answer = QueryAnswer::eDoesNotMatch;
    bool reverse = false;
    std::vector<QueryPart> parts;
    std::wstring decidedBy;
    std::vector<QueryDependency> dependsOn;
    std::vector<QueryReason> explanation;
};

// The decision of a section.
//  ePass / eDrop: the deciding rule's filtering action, no earlier rule
//                 may match;
//  eTranslate: a NAT rule decides;
//  eNoMatch: no rule matches or may match;
//  eDepends: a rule may match before any rule that matches.
enum class QueryDecision : std::int32_t { ePass, eDrop, eTranslate, eNoMatch, eDepends };

// One section's answer: the rules that may match before the deciding one,
// the deciding one (deciding is its place in rules), and with all every
// later rule that matches or may match.
struct QuerySectionResult {
    RuleType section = eLocalRules;
    QueryDecision decision = QueryDecision::eNoMatch;
    std::optional<std::size_t> deciding;
    std::vector<QueryRuleResult> rules;
};

struct QueryOptions {
    std::vector<RuleType> sections;  // empty: all five, in the order local,
                                     // vpn, transit, tunnel, nat
    bool all = false;                // list every matching rule
    bool explain = false;            // fill the explanations
};

// Answers the flow for the rules of policy, whose references see its own
// named objects and those of namedObjects (may be null). Only active
// rules are asked; rules stand in section order (ascending OrderId, ties
// in document order), as the lint and `show` count them. The documents are
// the caller's and must not change during the call. Throws nothing of its
// own; std::bad_alloc passes through. Any thread may call it.
FWCOMMON_EXPORT std::vector<QuerySectionResult> QueryPolicy(const Sarvo::PolicyType& policy,
                                                            const Sarvo::PolicyType* namedObjects,
                                                            const QueryFlow& flow,
                                                            const QueryOptions& options);

// "matches", "does not match", "may match".
FWCOMMON_EXPORT std::string QueryAnswerName(QueryAnswer answer);
// "pass", "drop", "translate", "no rule matches", "depends".
FWCOMMON_EXPORT std::string QueryDecisionName(QueryDecision decision);
// A dependency in plain words: "source: domain name \"intranet\"",
// "reverse direction: service: the ports, not all given".
FWCOMMON_EXPORT std::wstring QueryDependencyText(const QueryDependency& dependency);

}  // namespace fwcommon
