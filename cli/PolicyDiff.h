#pragma once

#include <string>
#include <vector>

#include <fwcommon/rules.hxx>

namespace fwpolicy {

// One rule, named object or option that differs between two documents.
struct Difference {
    std::string group;   // "rule", "object" or "option"
    std::string change;  // "added", "removed", "changed" or (rules) "renumbered"
    std::string kind;    // rule section, object kind; "" for options
    std::wstring key;    // rule identifier, object Id or option name
    std::wstring creationType;
    std::wstring name;    // rule or object name; "" for options
    std::wstring detail;  // for a change: the first mismatch found
};

// What changed from first to second. Rules are paired by identifier (the
// low 32 bits of RuleId) and creation type, named objects by kind and Id.
// A pair whose elements are equal member by member is unchanged; for any
// other pair the detail is the mismatch text of XmlRulesStrictCompare or of
// the strict comparator of the object's kind. (Those comparators call even
// identical schedule references unequal, so they are not asked first.)
// A rule left without a partner that has one in the other document of the
// same section and creation type, equal but for its RuleId, is reported
// once as "renumbered" (key: the new identifier; detail "RuleId OLD ->
// NEW"), after the other rule differences. Options are paired by
// name and creation type and compared by value and attributes. Properties
// (dates, version) are not compared. Order: rules, objects, options; in
// each group the removals and changes in the first document's order, then
// the additions in the second's. Empty when the documents are equal.
std::vector<Difference> ComparePolicies(const Sarvo::PolicyType& first,
                                        const Sarvo::PolicyType& second);

// One difference as `diff` prints it: "rule changed: local 1 (Policy)
// "Administration from the LAN": <detail>", "option added: LogLevel (User)".
std::string DifferenceLine(const Difference& d);

}  // namespace fwpolicy
