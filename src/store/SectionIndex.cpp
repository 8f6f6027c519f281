#include "store/SectionIndex.h"

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

#include <fwcommon/IRule.h>

namespace fwcommon {

SectionIndex::SectionIndex(RuleType section, RuleIdTable& byIdentifier)
    : section_(section), byIdentifier_(byIdentifier) {}

void SectionIndex::Insert(std::int64_t orderId, std::shared_ptr<IRule> rule) {
    Changed();
    auto existing = byOrder_.find(orderId);
    if (existing != byOrder_.end()) {
        byIdentifier_.Remove(existing->second->GetIdentifier(), section_, orderId);
        existing->second = rule;
    } else {
        byOrder_.emplace(orderId, rule);
    }
    byIdentifier_.Add(section_, orderId, std::move(rule));
}

void SectionIndex::Erase(std::int64_t orderId) {
    auto found = byOrder_.find(orderId);
    if (found == byOrder_.end()) {
        return;
    }
    Changed();
    byIdentifier_.Remove(found->second->GetIdentifier(), section_, orderId);
    byOrder_.erase(found);
}

void SectionIndex::Clear() {
    Changed();
    for (const auto& [orderId, rule] : byOrder_) {
        byIdentifier_.Remove(rule->GetIdentifier(), section_, orderId);
    }
    byOrder_.clear();
}

std::optional<std::int64_t> SectionIndex::FirstOrderIdOf(std::uint32_t identifier) const {
    std::optional<std::int64_t> first;
    byIdentifier_.ForEach(identifier, [&](const RuleIdTable::Entry& entry) {
        if (entry.section == section_ && (!first || entry.orderId < *first)) {
            first = entry.orderId;
        }
    });
    return first;
}

std::shared_ptr<IRule> SectionIndex::Find(std::uint32_t identifier,
                                          CreationType creationType) const {
    const RuleIdTable::Entry* best = nullptr;
    byIdentifier_.ForEach(identifier, [&](const RuleIdTable::Entry& entry) {
        if (entry.section == section_ && entry.creationType == creationType &&
            (!best || entry.orderId < best->orderId)) {
            best = &entry;
        }
    });
    return best ? best->rule : nullptr;
}

bool SectionIndex::Move(std::int64_t orderId, std::int32_t shift,
                        const std::function<void(IRule&, std::int64_t)>& renumber) {
    auto moved = byOrder_.find(orderId);
    if (moved == byOrder_.end() || shift == 0) {
        return false;
    }
    auto reached = moved;
    for (std::int32_t step = 0; step != shift; step += shift > 0 ? 1 : -1) {
        if (shift > 0) {
            if (std::next(reached) == byOrder_.end()) {
                return false;
            }
            ++reached;
        } else {
            if (reached == byOrder_.begin()) {
                return false;
            }
            --reached;
        }
    }

    // The range in ascending order, and the rules in their new order.
    auto first = shift > 0 ? moved : reached;
    auto last = std::next(shift > 0 ? reached : moved);
    std::vector<std::int64_t> orderIds;
    std::vector<std::shared_ptr<IRule>> rules;
    for (auto it = first; it != last; ++it) {
        orderIds.push_back(it->first);
        rules.push_back(it->second);
    }
    Changed();
    if (shift > 0) {
        std::rotate(rules.begin(), rules.begin() + 1, rules.end());
    } else {
        std::rotate(rules.rbegin(), rules.rbegin() + 1, rules.rend());
    }

    for (std::size_t i = 0; i < rules.size(); ++i) {
        auto slot = byOrder_.find(orderIds[i]);
        byIdentifier_.Remove(slot->second->GetIdentifier(), section_, orderIds[i]);
    }
    for (std::size_t i = 0; i < rules.size(); ++i) {
        byOrder_[orderIds[i]] = rules[i];
        byIdentifier_.Add(section_, orderIds[i], rules[i]);
        renumber(*rules[i], orderIds[i]);
    }
    return true;
}

std::shared_ptr<const RuleList> SectionIndex::Rules() const {
    if (!inOrder_) {
        auto rules = std::make_shared<RuleList>();
        rules->reserve(byOrder_.size());
        for (const auto& entry : byOrder_) {
            rules->push_back(entry.second);
        }
        inOrder_ = std::move(rules);
    }
    return inOrder_;
}

std::shared_ptr<IRule> SectionIndex::At(std::size_t position) const {
    const auto rules = Rules();
    return position < rules->size() ? (*rules)[position] : nullptr;
}

}  // namespace fwcommon
