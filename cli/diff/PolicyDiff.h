#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include <fwcommon/rules.hxx>

#include "ProtocolNames.h"
#include "diff/FieldChange.h"

namespace fwpolicy {

// One rule, named object or option that differs between two documents.
struct Difference {
    std::string group;         // "rule", "object" or "option"
    std::string change;        // "added", "removed", "changed" or (rules) "renumbered"
    std::string kind;          // rule section, object kind; "" for options
    std::wstring key;          // rule identifier, object Id or option name
    std::string creationType;  // "policy", "user", ...
    std::wstring name;         // rule or object name; "" for options
    FieldChanges fields;       // for a change: every field that differs
};

// What changed from first to second. Rules are paired by identifier (the
// low 32 bits of RuleId) and creation type, named objects by kind and Id,
// options by name and creation type. A changed pair lists every field
// that differs (ElementFields), and a rule that left its place among the
// other rules of its section "moved" with its two positions; rules that
// only shifted because another moved are unchanged. A rule left without a
// partner that has one in the other document of the same section and
// creation type, equal but for its RuleId, is reported once as
// "renumbered" (key: the new identifier), after the other rule
// differences. A rule the caller knows to be renumbered (renumbering: its
// index among the first document's rules and the RuleId it holds in the
// second, as the library's load gave it) is paired with the rule of that
// RuleId and creation type and reported "renumbered" with every field that
// differs, however else it changed; without that partner it is removed.
// Properties (dates, version) are not compared. Order:
// rules, objects, options; in each group the removals and changes in the
// first document's order, then the additions in the second's. Empty when
// the documents are equal.
using RuleRenumbering = std::map<std::size_t, long long>;
std::vector<Difference> ComparePolicies(const Sarvo::PolicyType& first,
                                        const Sarvo::PolicyType& second,
                                        const textforms::ProtocolNames& protocols,
                                        const RuleRenumbering& renumbering = {});

// The heading of a difference: "rule changed: local 200001 (policy)
// "Administration from the LAN"", "option added: LogLevel (user)".
std::string DifferenceHeading(const Difference& d);

// The heading and below it one line per changed field, indented by two
// blanks ("  action: pass → drop"), each ending in a line feed, made safe
// for a terminal.
std::string DifferenceText(const Difference& d);

// DifferenceText of every difference from first to second, with the
// protocol names of the shipped dictionary.
std::string DifferencesText(const Sarvo::PolicyType& first, const Sarvo::PolicyType& second,
                            const RuleRenumbering& renumbering = {});

}  // namespace fwpolicy
