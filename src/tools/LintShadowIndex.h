#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "tools/LintRuleMatch.h"

namespace fwcommon::lint {

// Earlier rules of a section, indexed so that a later rule is compared in
// full only with rules that may cover it.
//
// A match has ten parts (schedule, service, and per side: the side itself,
// its interface, hosts and VPN hosts). A part is restricted when it is not
// everything (for a covering rule: its lower bound; for a covered rule: its
// upper bound). A rule covers another only if every part it restricts is
// restricted in the other too, so rules are grouped by the set of parts
// they restrict, and a later rule looks only into groups whose set is part
// of its own. Within a group, rules are filed by keys of one restricted
// part (its opaque values; an address's first octet or leading 16 bits; a
// service's protocol and destination-port block; the side kind), and the
// later rule looks up the key of one point of its own part; rules whose
// part spans too many keys stay in the group's always-compared list.
class ShadowIndex {
public:
    // Files rule number `rule`. Rules that can cover nothing are left out.
    void Add(std::uint32_t rule, const RuleMatch& match);

    // Numbers of the filed rules that may cover match, ascending.
    std::vector<std::uint32_t> Candidates(const RuleMatch& match) const;

private:
    struct Group {
        int part = -1;  // the part the keys are of; -1 when none is restricted
        std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> byKey;
        std::vector<std::uint32_t> always;
    };

    std::unordered_map<std::uint32_t, Group> groups_;
};

}  // namespace fwcommon::lint
