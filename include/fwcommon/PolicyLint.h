#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/RuleType.h>
#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// Semantic checks of policy documents: references, identifiers, unused
// objects, and rules that can never match.
//
// Matching is reasoned about as exact sets: addresses, masks and ranges as
// merged IPv4 and IPv6 intervals, services as boxes of (protocol, source
// port or ICMP type, destination port or ICMP code), schedules as weekly
// windows plus absolute calendar spans. What cannot be resolved (domain
// names, interface names, system objects, VPN nodes, networks and name
// templates) is an opaque value that only an identical value covers. A rule
// is reported as shadowed or empty only when that is proved: wherever the
// meaning is uncertain (a daily window that passes midnight, a time zone, a
// non-contiguous mask, an exclusion of an opaque value, a broken
// reference), the set is widened for the covered rule and narrowed for the
// covering one, so no finding is made.
//
// Rules are taken in the order of their section (ascending OrderId, ties in
// document order); only an active rule with a strictly smaller OrderId can
// shadow another, and inactive rules are not reported as shadowed. A
// bidirectional rule is only taken as covered by a bidirectional one.
//
// Shadow search does not compare every pair: earlier rules are grouped by
// which parts of the match they restrict (schedule, service, each side and
// its interface, hosts or VPN hosts) and, within a group, indexed by a key of
// one restricted part (an opaque value, the protocol and destination-port
// block of a service, the first octet or leading 16 bits of an address).
// A later rule is compared in full only with the earlier rules of groups
// whose restrictions it also has and whose key its own first value hits.

enum class LintSeverity : std::int32_t { eWarning = 1, eError = 2 };

// Stable codes of the findings.
namespace LintCode {
inline constexpr const char* kDanglingReference = "dangling-reference";
inline constexpr const char* kUnknownSystemObject = "unknown-system-object";
inline constexpr const char* kReferenceCycle = "reference-cycle";
inline constexpr const char* kDuplicateRuleId = "duplicate-rule-id";
inline constexpr const char* kDuplicateObjectId = "duplicate-object-id";
// An object whose Id and creation type an object of an earlier document of
// the same lint also holds: merging the documents renumbers one of them.
inline constexpr const char* kObjectIdInOtherFile = "object-id-in-other-file";
// A rule whose creation type and RuleId a rule of an earlier document of
// the same lint also holds: merging the documents renumbers it.
inline constexpr const char* kRuleIdInOtherFile = "rule-id-in-other-file";
inline constexpr const char* kDuplicateOrderId = "duplicate-order-id";
// An OrderId so close to the largest one (9223372036854775807) that new
// rules of its creation type cannot be numbered after it for long.
inline constexpr const char* kOrderIdWithoutRoom = "order-id-without-room";
// A RuleId outside the identifier range of the rule's creation type: the
// first edit of the document gives the rule a new identifier.
inline constexpr const char* kIdentifierOutOfRange = "identifier-out-of-range";
inline constexpr const char* kUnusedObject = "unused-object";
inline constexpr const char* kEmptyRange = "empty-range";
// A port outside 0 to 65535, a protocol number, ICMP type or code outside
// 0 to 255, an address that does not parse, or a range whose ends are out
// of order, in a condition, a named object or a NAT rule's translation.
inline constexpr const char* kInvalidValue = "invalid-value";
inline constexpr const char* kNeverMatches = "never-matches";
inline constexpr const char* kShadowedRule = "shadowed-rule";
inline constexpr const char* kRedundantRule = "redundant-rule";
}  // namespace LintCode

// One document handed to the lint: a label that findings carry (usually
// the file name) and the parsed document, which the caller owns and keeps
// unchanged for the duration of the call.
struct LintDocument {
    std::string source;
    const Sarvo::PolicyType* policy = nullptr;
};

// What a finding is about: a rule or a named object.
enum class LintSubject : std::int32_t { eRule = 0, eNamedObject = 1 };

// The other rule a rule's finding is about: the earlier rule that covers a
// shadowed or redundant rule, or the rule that already holds the RuleId or
// OrderId of a duplicate. Section, position and identifier as in
// LintFinding.
struct LintRelatedRule {
    RuleType section = static_cast<RuleType>(0);
    std::size_t position = 0;
    std::int64_t identifier = 0;
    std::wstring name;
};

// One finding.
//  rules: section, position (0-based, in section order, as the rule
//         indexes of the Context count), identifier (the RuleId) and name;
//         a message that names another rule gives its position the same way
//         ("rule #0");
//  named objects: objectType, identifier (the Id) and name; section is 0
//         and position 0.
struct LintFinding {
    LintSeverity severity = LintSeverity::eError;
    std::string code;
    std::string source;
    LintSubject subject = LintSubject::eRule;
    RuleType section = static_cast<RuleType>(0);
    std::size_t position = 0;
    NamedObjectType objectType = eIpAddressObject;
    std::int64_t identifier = 0;
    std::wstring name;
    std::wstring message;
    // For shadowed-rule, redundant-rule, duplicate-rule-id and
    // duplicate-order-id: the other rule (it is named in the message too).
    std::optional<LintRelatedRule> relatedRule;
};

// Checks the documents. Each document's rules see its own named objects and
// those of namedObjects (a shared named-objects document, may be null),
// never those of the other documents; an object whose Id and creation type
// an object of an earlier document holds is reported (a warning);
// objects of namedObjects are reported unused only when no document uses
// them. Findings come per document (namedObjects last), objects first,
// then rules by section and position. Null policies are skipped. Throws
// nothing of its own; std::bad_alloc passes through. Any thread may call
// it on documents no thread is changing.
FWCOMMON_EXPORT std::vector<LintFinding> LintPolicies(const std::vector<LintDocument>& documents,
                                                      const LintDocument* namedObjects = nullptr);

// "warning" or "error".
FWCOMMON_EXPORT std::string LintSeverityName(LintSeverity severity);

}  // namespace fwcommon
