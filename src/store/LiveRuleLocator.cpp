#include "store/LiveRuleLocator.h"

#include "store/RuleElements.h"

namespace fwcommon {

std::size_t LiveRuleLocator::Find(const Sequence& rules, long long ruleId) {
    if (!valid_) {
        Rebuild(rules);
    }
    auto found = firstIndex_.find(ruleId);
    return found == firstIndex_.end() ? npos : found->second;
}

std::size_t LiveRuleLocator::Find(const Sequence& rules, long long ruleId,
                                  CreationType creationType) {
    if (!valid_) {
        Rebuild(rules);
    }
    auto found = firstTypedIndex_.find(TypedKey{ruleId, creationType});
    return found == firstTypedIndex_.end() ? npos : found->second;
}

void LiveRuleLocator::Appended(const Sequence& rules, std::size_t index) {
    if (valid_) {
        Enter(rules, index);
    }
}

void LiveRuleLocator::Invalidate() {
    valid_ = false;
    firstIndex_.clear();
    firstTypedIndex_.clear();
}

void LiveRuleLocator::Enter(const Sequence& rules, std::size_t index) {
    const Sarvo::Rule& rule = rules[index];
    firstIndex_.emplace(rule.RuleId(), index);
    firstTypedIndex_.emplace(TypedKey{rule.RuleId(), CreationTypeOf(rule)}, index);
}

void LiveRuleLocator::Rebuild(const Sequence& rules) {
    firstIndex_.clear();
    firstTypedIndex_.clear();
    firstIndex_.reserve(rules.size());
    firstTypedIndex_.reserve(rules.size());
    for (std::size_t i = 0; i < rules.size(); ++i) {
        Enter(rules, i);
    }
    valid_ = true;
}

}  // namespace fwcommon
