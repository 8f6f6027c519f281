#pragma once

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "lint/LintRuleMatch.h"

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
// of its own. Within a group, each rule is filed once per restricted part
// under keys of that part (its opaque values; an address's first octet or
// leading 16 bits; a service's protocol and destination-port block; the
// side kind); a rule whose part spans too many keys goes to that part's
// always-compared list. A covering rule holds every point of the covered
// rule in every part, so it is filed under the key of any one point of
// any part: the later rule looks up the key of one point of each part and
// takes the shortest list.
class ShadowIndex {
public:
    // Files rule number `rule`. Rules that can cover nothing are left out.
    void Add(std::uint32_t rule, const RuleMatch& match);

    // Numbers of the filed rules that may cover match, ascending.
    std::vector<std::uint32_t> Candidates(const RuleMatch& match) const;

    // Calls visit with the numbers Candidates gives, in that order, until
    // visit returns true.
    template <typename Visit>
    void VisitCandidates(const RuleMatch& match, Visit visit) const;

private:
    // A run of rule numbers, ascending.
    struct Run {
        const std::uint32_t* next;
        const std::uint32_t* end;
    };

    // The rules of a group filed by the keys of one part.
    struct PartIndex {
        int part = 0;
        std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> byKey;
        std::vector<std::uint32_t> always;
    };
    struct Group {
        std::uint32_t mask = 0;             // the parts its rules restrict
        std::vector<PartIndex> parts;       // one per restricted part
        std::vector<std::uint32_t> always;  // when no part is restricted
    };

    // The shortest candidate lists of a group for match, appended to runs
    // (no rule is in two of them).
    void AddCandidates(const Group& group, const RuleMatch& match, std::vector<Run>& runs) const;
    // Those of every group that may hold a rule covering match.
    std::vector<Run> CandidateRuns(const RuleMatch& match) const;

    // Groups in the order their first rule came, each looked up by its
    // mask; every later rule walks the list.
    std::vector<Group> groups_;
    std::unordered_map<std::uint32_t, std::size_t> groupOf_;
    std::vector<std::uint64_t> keys_;  // scratch for Add
};

template <typename Visit>
void ShadowIndex::VisitCandidates(const RuleMatch& match, Visit visit) const {
    // A merge of the runs: most rules stop at one of their first candidates,
    // so the candidates are never gathered and sorted as a whole.
    std::vector<Run> runs = CandidateRuns(match);
    const auto later = [](const Run& a, const Run& b) { return *a.next > *b.next; };
    std::make_heap(runs.begin(), runs.end(), later);
    while (!runs.empty()) {
        std::pop_heap(runs.begin(), runs.end(), later);
        Run& run = runs.back();
        if (visit(*run.next)) {
            return;
        }
        if (++run.next == run.end) {
            runs.pop_back();
        } else {
            std::push_heap(runs.begin(), runs.end(), later);
        }
    }
}

}  // namespace fwcommon::lint
