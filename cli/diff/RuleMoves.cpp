#include "RuleMoves.h"

#include <algorithm>
#include <string>

#include "diff/IncreasingRun.h"
#include "render/RuleTable.h"

namespace fwpolicy {
namespace {

using Positions = std::map<const Sarvo::Rule*, std::size_t>;

Positions PositionsIn(const Sarvo::PolicyType& policy, const std::string& section) {
    Positions positions;
    for (const Sarvo::Rule* rule : SectionRules(policy, section))
        positions.emplace(rule, positions.size());
    return positions;
}

// The indexes of a longest run of positions that stay in order. Where
// several runs are as long (two neighbours that swapped places), the run
// that keeps the earlier rules is taken, so that the rule reported moved
// is the one that went up, as `rule move --by=-1` tells it.
std::vector<std::size_t> KeptInPlace(const std::vector<std::size_t>& positions) {
    const std::size_t count = positions.size();
    const std::size_t top = count == 0 ? 0 : *std::max_element(positions.begin(), positions.end());
    std::vector<std::size_t> reversed;  // last first, order turned round
    for (std::size_t i = count; i > 0; --i)
        reversed.push_back(top - positions[i - 1]);
    std::vector<std::size_t> kept;
    for (const std::size_t i : LongestIncreasingRun(reversed))
        kept.push_back(count - 1 - i);
    return kept;
}

void SectionMoves(const Sarvo::PolicyType& first, const Sarvo::PolicyType& second,
                  const std::string& section,
                  const std::map<const Sarvo::Rule*, const Sarvo::Rule*>& pairs,
                  std::map<const Sarvo::Rule*, RuleMove>& moves) {
    const Positions after = PositionsIn(second, section);
    std::vector<const Sarvo::Rule*> paired;
    std::vector<std::size_t> positionsAfter;
    for (const Sarvo::Rule* rule : SectionRules(first, section)) {
        const auto partner = pairs.find(rule);
        const auto placed = partner == pairs.end() ? after.end() : after.find(partner->second);
        if (placed != after.end()) {
            paired.push_back(rule);
            positionsAfter.push_back(placed->second);
        }
    }
    const Positions before = PositionsIn(first, section);
    std::vector<bool> kept(paired.size(), false);
    for (const std::size_t i : KeptInPlace(positionsAfter))
        kept[i] = true;
    for (std::size_t i = 0; i < paired.size(); ++i) {
        if (!kept[i])
            moves.emplace(paired[i], RuleMove{before.at(paired[i]), positionsAfter[i]});
    }
}

}  // namespace

std::map<const Sarvo::Rule*, RuleMove> RuleMoves(
    const Sarvo::PolicyType& first, const Sarvo::PolicyType& second,
    const std::map<const Sarvo::Rule*, const Sarvo::Rule*>& pairs) {
    std::map<const Sarvo::Rule*, RuleMove> moves;
    for (const std::string& section : SectionNames())
        SectionMoves(first, second, section, pairs, moves);
    return moves;
}

}  // namespace fwpolicy
