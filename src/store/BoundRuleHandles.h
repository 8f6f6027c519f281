#pragma once

#include <cstddef>
#include <functional>
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
    // The changes were committed: copy, the copy MoveTo handed the handles,
    // is no longer the committed document, document is. Each handle that
    // shares an element of copy shares the element of the same rule in
    // document again where the two are equal, and gets an element of its
    // own where they are not (or where document no longer holds the rule),
    // so that nothing keeps the copy alive. placeOf gives the place in
    // document's rules of the rule with a copied element's identity, or a
    // place past their end when there is none.
    using PlaceOf = std::function<std::size_t(const Sarvo::Rule&)>;
    void ReturnTo(const Sarvo::PolicyType& copy,
                  const std::shared_ptr<const Sarvo::PolicyType>& document, const PlaceOf& placeOf);
    // ReturnTo for a commit that changed no rule (options alone): document's
    // rules equal copy's place for place, so each handle that shares an
    // element of copy shares the one at the same place of document, with
    // nothing to compare.
    void ReturnToSamePlaces(const Sarvo::PolicyType& copy,
                            const std::shared_ptr<const Sarvo::PolicyType>& document);
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
