#include "store/LiveRuleLocator.h"

namespace fwcommon {

std::size_t LiveRuleLocator::Find(const Sequence& rules, long long ruleId) {
    if (!valid_) {
        Rebuild(rules);
    }
    auto found = firstIndex_.find(ruleId);
    return found == firstIndex_.end() ? npos : found->second;
}

void LiveRuleLocator::Appended(long long ruleId, std::size_t index) {
    if (valid_) {
        firstIndex_.emplace(ruleId, index);
    }
}

void LiveRuleLocator::Invalidate() {
    valid_ = false;
    firstIndex_.clear();
}

void LiveRuleLocator::Rebuild(const Sequence& rules) {
    firstIndex_.clear();
    firstIndex_.reserve(rules.size());
    for (std::size_t i = 0; i < rules.size(); ++i) {
        firstIndex_.emplace(rules[i].RuleId(), i);
    }
    valid_ = true;
}

}  // namespace fwcommon
