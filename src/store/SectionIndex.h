#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/IXmlReader.h>
#include "store/RuleIdTable.h"

namespace fwcommon {

// The rules of one section keyed by order id, handed out in ascending
// order id. Every rule is also entered in the reader's identifier table,
// shared by all sections, so that finding one rule never walks a section.
// The list in order is built on first use after a change and shared by
// every reader of it until the next change, so that reading the section
// rule by rule costs one build, not one per rule.
class SectionIndex {
public:
    using Map = std::map<std::int64_t, std::shared_ptr<IRule>>;

    // The table must outlive the index.
    SectionIndex(RuleType section, RuleIdTable& byIdentifier);
    SectionIndex(const SectionIndex&) = delete;
    SectionIndex& operator=(const SectionIndex&) = delete;

    // Stores the rule under the order id; a rule already stored there is
    // replaced.
    void Insert(std::int64_t orderId, std::shared_ptr<IRule> rule);
    // Removes the rule stored under the order id, if any.
    void Erase(std::int64_t orderId);
    // Empties the section and takes its rules out of the identifier table.
    void Clear();

    // The smallest order id of a rule with this identifier (any creation
    // type).
    std::optional<std::int64_t> FirstOrderIdOf(std::uint32_t identifier) const;
    // The rule with the smallest order id among those with this identifier
    // and creation type; empty when none.
    std::shared_ptr<IRule> Find(std::uint32_t identifier, CreationType creationType) const;

    // Moves the rule at orderId by shift places and rotates the order ids of
    // the rules in between, so that the set of order ids stays the same.
    // renumber is called for every rule whose order id changes, with its new
    // order id. False, and nothing changed, when the move would leave the
    // section or no rule has that order id.
    bool Move(std::int64_t orderId, std::int32_t shift,
              const std::function<void(IRule&, std::int64_t)>& renumber);

    // The rules in ascending order id. The list handed out never changes;
    // a later change of the section makes a new one.
    std::shared_ptr<const RuleList> Rules() const;
    // The rule at a position of that list; empty past its end.
    std::shared_ptr<IRule> At(std::size_t position) const;
    const Map& ByOrder() const { return byOrder_; }
    std::size_t Size() const { return byOrder_.size(); }

private:
    void Changed() { inOrder_.reset(); }

    RuleType section_;
    RuleIdTable& byIdentifier_;
    Map byOrder_;
    mutable std::shared_ptr<const RuleList> inOrder_;  // empty until built
};

}  // namespace fwcommon
