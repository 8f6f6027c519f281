#include "store/RuleIdTable.h"

#include <utility>

#include <fwcommon/IRule.h>

namespace fwcommon {
namespace {

constexpr std::size_t kInitialSlots = 64;

// Position of a section in the order a look-up by identifier searches.
int SearchRank(RuleType section) {
    switch (section) {
        case eLocalRules:
            return 0;
        case eVPNRules:
            return 1;
        case eTransitRules:
            return 2;
        case eNATRules:
            return 3;
        default:
            return 4;
    }
}

}  // namespace

std::size_t RuleIdTable::Home(std::uint32_t identifier) const {
    // Fibonacci hashing spreads consecutive identifiers over the table.
    const std::uint64_t mixed = identifier * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(mixed >> 32) & (slots_.size() - 1);
}

void RuleIdTable::Add(RuleType section, std::int64_t orderId, std::shared_ptr<IRule> rule) {
    if ((size_ + 1) * 2 > slots_.size()) {
        Grow();
    }
    Entry entry;
    entry.identifier = rule->GetIdentifier();
    entry.creationType = rule->GetCreationType();
    entry.section = section;
    entry.orderId = orderId;
    entry.rule = std::move(rule);
    Place(std::move(entry));
    ++size_;
}

void RuleIdTable::Place(Entry entry) {
    std::size_t at = Home(entry.identifier);
    while (slots_[at].section != 0) {
        at = Next(at);
    }
    slots_[at] = std::move(entry);
}

void RuleIdTable::Grow() {
    std::vector<Entry> old = std::move(slots_);
    slots_.assign(old.empty() ? kInitialSlots : old.size() * 2, Entry());
    for (Entry& entry : old) {
        if (entry.section != 0) {
            Place(std::move(entry));
        }
    }
}

void RuleIdTable::Remove(std::uint32_t identifier, RuleType section, std::int64_t orderId) {
    if (size_ == 0) {
        return;
    }
    for (std::size_t at = Home(identifier); slots_[at].section != 0; at = Next(at)) {
        const Entry& entry = slots_[at];
        if (entry.identifier == identifier && entry.section == section &&
            entry.orderId == orderId) {
            EraseSlot(at);
            --size_;
            return;
        }
    }
}

// Linear probing without tombstones: after freeing a slot, every later
// entry of the same run that would no longer be reachable from its home
// slot moves back into the hole.
void RuleIdTable::EraseSlot(std::size_t hole) {
    slots_[hole] = Entry();
    for (std::size_t at = Next(hole); slots_[at].section != 0; at = Next(at)) {
        const std::size_t home = Home(slots_[at].identifier);
        const bool reachable =
            hole <= at ? (home > hole && home <= at) : (home > hole || home <= at);
        if (!reachable) {
            slots_[hole] = std::move(slots_[at]);
            slots_[at] = Entry();
            hole = at;
        }
    }
}

void RuleIdTable::Clear() {
    slots_.clear();
    size_ = 0;
}

std::shared_ptr<IRule> RuleIdTable::Find(std::uint32_t identifier,
                                         CreationType creationType) const {
    const Entry* best = nullptr;
    ForEach(identifier, [&](const Entry& entry) {
        if (entry.creationType != creationType) {
            return;
        }
        if (!best || SearchRank(entry.section) < SearchRank(best->section) ||
            (entry.section == best->section && entry.orderId < best->orderId)) {
            best = &entry;
        }
    });
    return best ? best->rule : nullptr;
}

}  // namespace fwcommon
