#pragma once

#include <cstddef>
#include <map>
#include <vector>

#include <fwcommon/rules.hxx>

namespace fwpolicy {

// A rule whose place among the rules of its section changed: its 0-based
// positions in the section before and after (as `show` numbers them).
struct RuleMove {
    std::size_t before = 0;
    std::size_t after = 0;
};

// The rules that moved, keyed by the rule of the first document. pairs
// maps each rule of the first document to its partner in the second. A
// section's paired rules keep the longest run that stays in order; every
// other one has moved, so that moving one rule by 500 places reports that
// rule alone and not the 500 it passed. Rules whose partner is in another
// section are left out.
std::map<const Sarvo::Rule*, RuleMove> RuleMoves(
    const Sarvo::PolicyType& first, const Sarvo::PolicyType& second,
    const std::map<const Sarvo::Rule*, const Sarvo::Rule*>& pairs);

}  // namespace fwpolicy
