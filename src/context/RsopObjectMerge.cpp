#include "context/RsopObjectMerge.h"

#include <string>
#include <vector>

#include <fwcommon/LogFacility.h>
#include "store/ObjectReferences.h"
#include "store/SameObject.h"

namespace fwcommon {
namespace {

CreationType CreationTypeOf(const Sarvo::NamedObject& object) {
    return static_cast<CreationType>(static_cast<int>(object.CreationType()));
}

}  // namespace

int RsopObjectMerge::Renumbering::Renumbered(NamedObjectType kind, int id,
                                             CreationType referrer) const {
    const Sarvo::NamedObject* target = objects_.Resolve(kind, id, referrer);
    auto renumbered = target ? newIds_.find(target) : newIds_.end();
    return renumbered == newIds_.end() ? id : renumbered->second;
}

void RsopObjectMerge::Renumbering::Rewrite(Sarvo::ConditionSet& conditions,
                                           CreationType referrer) const {
    if (newIds_.empty()) {
        return;
    }
    ForEachObjectReference(
        conditions, [&](NamedObjectType kind, int& id) { id = Renumbered(kind, id, referrer); });
}

bool RsopObjectMerge::Renumbering::Changes(const Sarvo::ConditionSet& conditions,
                                           CreationType referrer) const {
    bool changes = false;
    if (!newIds_.empty()) {
        ForEachObjectReference(conditions, [&](NamedObjectType kind, int id) {
            changes = changes || Renumbered(kind, id, referrer) != id;
        });
    }
    return changes;
}

void RsopObjectMerge::Renumbering::Rewrite(Sarvo::NamedObject& object) const {
    if (newIds_.empty()) {
        return;
    }
    const CreationType referrer = CreationTypeOf(object);
    ForEachObjectReference(
        object, [&](NamedObjectType kind, int& id) { id = Renumbered(kind, id, referrer); });
}

RsopObjectMerge::RsopObjectMerge(std::shared_ptr<const Generators> generators)
    : generators_(std::move(generators)) {}

RsopObjectMerge::Renumbering RsopObjectMerge::Add(const Sarvo::NamedObjects& objects,
                                                  Sarvo::NamedObjects& target) {
    Renumbering renumbering;
    renumbering.objects_ = ObjectIndex(objects);
    ForEachNamedObject(objects, [this](NamedObjectType, const Sarvo::NamedObject& object) {
        NoteIdentifier(static_cast<int>(object.Id()));
    });
    std::vector<Sarvo::NamedObject*> added;
    AddKind(eScheduleObject, objects.ScheduleObject(), target.ScheduleObject(), renumbering, added);
    AddKind(eServiceObject, objects.ServiceObject(), target.ServiceObject(), renumbering, added);
    AddKind(eSarvoGroupObject, objects.VpnObject(), target.VpnObject(), renumbering, added);
    AddKind(eInterfaceObject, objects.InterfaceObject(), target.InterfaceObject(), renumbering,
            added);
    AddKind(eIpAddressObject, objects.IpObject(), target.IpObject(), renumbering, added);
    // The copies still name objects by their Ids in the document.
    for (Sarvo::NamedObject* copy : added) {
        renumbering.Rewrite(*copy);
    }
    return renumbering;
}

// Decides for every object of the kind before any is added, so that each is
// compared with the result as it was before its own document came. An
// object the same as the holder of its kind and Id is left out; one that
// differs, repeats a kind and Id met earlier in its document (with another
// creation type) or has the Id of an object of another kind in the result
// is renumbered.
template <typename Sequence>
void RsopObjectMerge::AddKind(NamedObjectType kind, const Sequence& source, Sequence& target,
                              Renumbering& renumbering, std::vector<Sarvo::NamedObject*>& added) {
    std::vector<const Sarvo::NamedObject*> kept;
    std::set<int> metInDocument;
    for (const auto& object : source) {
        const int id = static_cast<int>(object.Id());
        const Sarvo::NamedObject* holder = result_.Resolve(kind, id, CreationTypeOf(object));
        const bool first = metInDocument.insert(id).second;
        if (holder != nullptr && SameObject(kind, object, renumbering.objects_, *holder, result_)) {
            continue;
        }
        if (holder == nullptr && first && resultIds_.count(id) == 0) {
            kept.push_back(&object);
        } else {
            const int newId = FreeIdentifier(CreationTypeOf(object));
            renumbering.newIds_[&object] = newId;
            GetLibLogFacility().Log(L"'GetRSOP': named object '" + object.Name() +
                                        L"' renumbered from " + std::to_wstring(id) + L" to " +
                                        std::to_wstring(newId),
                                    kLogRoutine);
            kept.push_back(&object);
        }
    }
    for (const Sarvo::NamedObject* object : kept) {
        target.push_back(static_cast<const typename Sequence::value_type&>(*object));
        auto& copy = target.back();
        auto renumbered = renumbering.newIds_.find(object);
        if (renumbered != renumbering.newIds_.end()) {
            copy.Id(renumbered->second);
        }
        result_.Enter(kind, copy);
        resultIds_.insert(static_cast<int>(copy.Id()));
        added.push_back(&copy);
    }
}

// The spare generators learn every Id at once, so that finding a free one
// never walks the result again.
void RsopObjectMerge::NoteIdentifier(int id) {
    if (!usedIds_.insert(id).second) {
        return;
    }
    for (auto& [creationType, spare] : spare_) {
        spare.MarkIdentifierAsBusy(static_cast<std::uint32_t>(id));
    }
}

int RsopObjectMerge::FreeIdentifier(CreationType creationType) {
    auto spare = spare_.find(creationType);
    if (spare == spare_.end()) {
        IdentifierGenerator generator;
        if (generators_) {
            const auto found = generators_->find(creationType);
            if (found != generators_->end() && found->second) {
                generator = *found->second;
            }
        }
        spare = spare_.emplace(creationType, generator).first;
        for (int id : usedIds_) {
            spare->second.MarkIdentifierAsBusy(static_cast<std::uint32_t>(id));
        }
    }
    const int id = static_cast<int>(spare->second.GenerateIdentifier());
    NoteIdentifier(id);
    return id;
}

}  // namespace fwcommon
