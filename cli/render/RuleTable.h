#pragma once

#include <map>
#include <string>
#include <vector>

#include <fwcommon/IXmlWrapper.h>
#include <fwcommon/rules.hxx>

#include "render/ConditionText.h"

namespace fwpolicy {

// Names of named objects by Id, for showing references by name.
using ObjectNames = std::map<int, std::wstring>;

void CollectObjectNames(const Sarvo::PolicyType& policy, ObjectNames& names);

// The text with every "#<Id>" that names a known object replaced by the
// object's name.
std::wstring WithObjectNames(const std::wstring& text, const ObjectNames& names);

// A rule's action as `show` prints it: "pass", "drop stateless both-ways",
// "translate source=203.0.113.10 port=443".
std::wstring ActionWords(const Sarvo::Action& action);

// One rule as the table shows it.
struct RuleRow {
    std::size_t position = 0;
    long long identifier = 0;
    std::wstring name;
    bool active = true;
    std::wstring action;
    std::wstring source;
    std::wstring destination;
    std::wstring services;
    std::wstring schedules;
};

// The rules of one section ("local", "vpn", "transit", "tunnel", "nat"),
// in ascending order id; they belong to policy.
std::vector<const Sarvo::Rule*> SectionRules(const Sarvo::PolicyType& policy,
                                             const std::string& section);

// The rows of one section's rules with the library's display texts of
// their conditions, object identifiers replaced by names.
std::vector<RuleRow> SectionRows(const Sarvo::PolicyType& policy, const std::string& section,
                                 const fwcommon::IXmlWrapper& wrapper, const ObjectNames& names);

// The rows of one section's rules with their conditions in the text forms
// the editor reads.
std::vector<RuleRow> SectionRowsInWords(const Sarvo::PolicyType& policy, const std::string& section,
                                        const ConditionText& words);

// The sections in the order the tool shows them.
const std::vector<std::string>& SectionNames();

}  // namespace fwpolicy
