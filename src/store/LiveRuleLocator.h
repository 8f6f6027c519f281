#pragma once

#include <cstddef>
#include <unordered_map>

#include <fwcommon/rules.hxx>

namespace fwcommon {

// Finds rule elements of the live document by RuleId without walking the
// Rules list: remembers where the first element of each RuleId stands.
// The reader invalidates it whenever elements are erased or the live
// document is replaced; the next lookup then rebuilds it.
class LiveRuleLocator {
public:
    using Sequence = Sarvo::Rules::Rule_sequence;
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // Index of the first element with this RuleId, or npos.
    std::size_t Find(const Sequence& rules, long long ruleId);
    // An element with this RuleId was appended at index.
    void Appended(long long ruleId, std::size_t index);
    void Invalidate();

private:
    void Rebuild(const Sequence& rules);

    std::unordered_map<long long, std::size_t> firstIndex_;
    bool valid_ = false;
};

}  // namespace fwcommon
