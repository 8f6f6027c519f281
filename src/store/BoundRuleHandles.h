#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include <fwcommon/rules.hxx>
#include "domain/Rule.h"

namespace fwcommon {

// The rule handles that share elements of a reader's committed document
// instead of holding copies, each with the place of its element among the
// document's rules.
//
// A shared element must never change. So before the store first changes a
// document whose elements handles share, it makes a copy of the document
// for rollback and hands the handles the copy's elements (MoveTo); the
// copy is never changed. When the reader goes, the handles callers still
// hold get elements of their own (ReleaseAll), so that they keep no whole
// document alive.
//
// Not synchronised; the reader that owns it serialises access.
class BoundRuleHandles {
public:
    using Sequence = Sarvo::Rules::Rule_sequence;

    // A build of the rule index starts. Handles listed by earlier builds
    // that are still alive and bound stay listed, for ReleaseAll.
    void StartBuild();
    // The handle shares the element at this place of the document's rules.
    void Add(std::size_t place, const std::shared_ptr<Rule>& handle);
    // The build is done: earlier entries of handles it listed again go.
    void FinishBuild();
    // The handles that share elements of rules (the rules of a document
    // about to change) share the elements at the same places of copy, a
    // copy of that document, instead.
    void MoveTo(const Sequence& rules, const std::shared_ptr<const Sarvo::PolicyType>& copy);
    // Gives every listed handle that is still alive an element of its own.
    void ReleaseAll();

private:
    struct Entry {
        std::size_t place;
        std::weak_ptr<Rule> handle;
    };
    std::vector<Entry> entries_;
    std::size_t firstOfBuild_ = 0;
};

}  // namespace fwcommon
