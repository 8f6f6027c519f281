#pragma once

#include <array>
#include <cstddef>
#include <string>

#include <fwcommon/rules.hxx>

namespace fwpolicy {

// How many rules a document holds per section and how many named objects
// per kind. Sections follow the rule's kind (its xsi:type); a plain Rule
// without a kind belongs to no section.
struct PolicySummary {
    std::size_t localRules = 0;
    std::size_t vpnRules = 0;
    std::size_t transitRules = 0;
    std::size_t tunnelRules = 0;
    std::size_t natRules = 0;
    std::size_t unsectionedRules = 0;
    std::size_t ipObjects = 0;
    std::size_t interfaceObjects = 0;
    std::size_t vpnObjects = 0;
    std::size_t serviceObjects = 0;
    std::size_t scheduleObjects = 0;
};

PolicySummary Summarize(const Sarvo::PolicyType& policy);

// "3 local, 2 vpn, 3 transit, 1 tunnel, 2 nat rules; 3 ip, 2 interface,
// 2 vpn, 3 service, 2 schedule objects"
std::string Describe(const PolicySummary& summary);

}  // namespace fwpolicy
