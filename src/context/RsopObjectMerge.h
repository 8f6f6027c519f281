#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/IdentifierGenerator.h>
#include <fwcommon/rules.hxx>
#include "store/SameObject.h"

namespace fwcommon {

// The named objects of the documents merged into a resultant document.
//
// In the result every object has an Id of its own, whatever its kind, so
// that an Id names one object (a reference carries only an Id and a kind). An object whose
// kind and Id an object of the result already holds is the same object
// when its name, creation type and members agree (the objects its members
// refer to compared the same way): it is kept once. Otherwise it is a
// different object and gets a new identifier, free in a copy of the
// generator of its creation type and held by no object of the result or of
// its document; the renumbering is logged at level 2 and every reference of
// its own document to it must be rewritten (Renumbering). The caller's
// generators are not changed. Used on one thread.
class RsopObjectMerge {
public:
    using Generators = std::map<CreationType, std::shared_ptr<IdentifierGenerator>>;

    // How the references of one merged document are rewritten to the
    // identifiers its objects have in the result. Refers to the document.
    class Renumbering {
    public:
        void Rewrite(Sarvo::ConditionSet& conditions, CreationType referrer) const;
        // True when Rewrite would change a reference of the conditions.
        bool Changes(const Sarvo::ConditionSet& conditions, CreationType referrer) const;
        void Rewrite(Sarvo::NamedObject& object) const;

    private:
        friend class RsopObjectMerge;
        int Renumbered(NamedObjectType kind, int id, CreationType referrer) const;

        ObjectIndex objects_;
        std::map<const Sarvo::NamedObject*, int> newIds_;
    };

    explicit RsopObjectMerge(std::shared_ptr<const Generators> generators);

    // Merges the objects of one document into target (the result's
    // collection) and says how the document's references change.
    Renumbering Add(const Sarvo::NamedObjects& objects, Sarvo::NamedObjects& target);

private:
    template <typename Sequence>
    void AddKind(NamedObjectType kind, const Sequence& source, Sequence& target,
                 Renumbering& renumbering, std::vector<Sarvo::NamedObject*>& added);
    void NoteIdentifier(int id);
    int FreeIdentifier(CreationType creationType);

    std::shared_ptr<const Generators> generators_;
    std::map<CreationType, IdentifierGenerator> spare_;
    std::set<int> usedIds_;    // Ids of the result and of the document being merged
    std::set<int> resultIds_;  // Ids of the result's objects, of every kind
    ObjectIndex result_;
};

}  // namespace fwcommon
