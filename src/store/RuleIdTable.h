#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/RuleType.h>

namespace fwcommon {

class IRule;

// Every indexed rule of one reader, keyed by rule identifier, in a single
// open-addressing table: finding a rule by identifier costs one probe into
// contiguous memory wherever the rule stands, instead of one hash look-up
// per section. Several entries may share an identifier (other creation
// types, other sections, or a duplicate RuleId); an entry is unique by its
// section and order id.
//
// The creation type is copied into the entry when the rule is added, so a
// look-up does not read the rule's element. Rules change creation type only
// through a store update, which re-adds them.
//
// Not thread-safe; owned by the reader.
class RuleIdTable {
public:
    struct Entry {
        std::uint32_t identifier = 0;
        CreationType creationType = Generated;
        RuleType section = RuleType(0);  // 0 marks a free slot
        std::int64_t orderId = 0;
        std::shared_ptr<IRule> rule;
    };

    void Add(RuleType section, std::int64_t orderId, std::shared_ptr<IRule> rule);
    // Removes the entry of the section and order id; nothing when absent.
    void Remove(std::uint32_t identifier, RuleType section, std::int64_t orderId);
    void Clear();

    // Calls visit(const Entry&) for every entry with this identifier.
    template <typename Visit>
    void ForEach(std::uint32_t identifier, Visit&& visit) const {
        if (size_ == 0) {
            return;
        }
        for (std::size_t at = Home(identifier); slots_[at].section != 0; at = Next(at)) {
            if (slots_[at].identifier == identifier) {
                visit(slots_[at]);
            }
        }
    }

    // The rule a look-up by identifier and creation type finds: the first
    // section in the order local, VPN, transit, NAT, tunnel that holds one,
    // and within it the smallest order id. Empty when none.
    std::shared_ptr<IRule> Find(std::uint32_t identifier, CreationType creationType) const;

    std::size_t Size() const { return size_; }

private:
    std::size_t Home(std::uint32_t identifier) const;
    std::size_t Next(std::size_t at) const { return (at + 1) & (slots_.size() - 1); }
    void Grow();
    void Place(Entry entry);
    void EraseSlot(std::size_t at);

    std::vector<Entry> slots_;  // power-of-two size, at most half full
    std::size_t size_ = 0;
};

}  // namespace fwcommon
