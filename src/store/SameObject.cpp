#include "store/SameObject.h"

#include <memory>
#include <vector>

#include "document/SchemaCast.h"
#include "store/ObjectReferences.h"

namespace fwcommon {
namespace {

// How deep SameObject follows references between objects.
constexpr int kDeepestReference = 16;

CreationType CreationTypeOf(const Sarvo::NamedObject& object) {
    return static_cast<CreationType>(static_cast<int>(object.CreationType()));
}

// The references among an object's members, in member order: the kind of
// object each names and its Id.
using References = std::vector<std::pair<NamedObjectType, int>>;

References ReferencesOf(const Sarvo::NamedObject& object) {
    References references;
    ForEachObjectReference(
        object, [&references](NamedObjectType kind, int id) { references.emplace_back(kind, id); });
    return references;
}

// A copy of an object with its Id and the Ids of its references set to 0.
std::unique_ptr<Sarvo::NamedObject> Anonymised(const Sarvo::NamedObject& object) {
    std::unique_ptr<Sarvo::NamedObject> copy(object._clone());
    copy->Id(0);
    ForEachObjectReference(*copy, [](NamedObjectType, int& id) { id = 0; });
    return copy;
}

template <typename Kind>
bool EqualAs(const Sarvo::NamedObject& a, const Sarvo::NamedObject& b) {
    const auto* left = document::SchemaCast<Kind>(a);
    const auto* right = document::SchemaCast<Kind>(b);
    return left != nullptr && right != nullptr && *left == *right;
}

bool EqualContent(NamedObjectType kind, const Sarvo::NamedObject& a, const Sarvo::NamedObject& b) {
    switch (kind) {
        case eInterfaceObject:
            return EqualAs<Sarvo::InterfaceObject>(a, b);
        case eIpAddressObject:
            return EqualAs<Sarvo::IpObject>(a, b);
        case eServiceObject:
            return EqualAs<Sarvo::ServiceObject>(a, b);
        case eScheduleObject:
            return EqualAs<Sarvo::ScheduleObject>(a, b);
        case eSarvoGroupObject:
            return EqualAs<Sarvo::VpnObject>(a, b);
    }
    return false;
}

// True when the objects are equal but for their Ids and the Ids of their
// references (`left` and `right`, each object's references).
bool EqualButForIds(NamedObjectType kind, const Sarvo::NamedObject& a, const References& left,
                    const Sarvo::NamedObject& b, const References& right) {
    if (left.size() != right.size())
        return false;
    // With the same Ids throughout, setting them to 0 changes neither side:
    // the objects compare as they are, without copies.
    if (a.Id() == b.Id() && left == right)
        return EqualContent(kind, a, b);
    return EqualContent(kind, *Anonymised(a), *Anonymised(b));
}

bool SameAtDepth(NamedObjectType kind, const Sarvo::NamedObject& a, const ObjectIndex& aObjects,
                 const Sarvo::NamedObject& b, const ObjectIndex& bObjects, int depth) {
    if (depth > kDeepestReference || a.Name() != b.Name() ||
        CreationTypeOf(a) != CreationTypeOf(b)) {
        return false;
    }
    const References left = ReferencesOf(a);
    const References right = ReferencesOf(b);
    if (!EqualButForIds(kind, a, left, b, right)) {
        return false;
    }
    for (std::size_t i = 0; i < left.size(); ++i) {
        const auto [refKind, leftId] = left[i];
        const int rightId = right[i].second;
        const Sarvo::NamedObject* leftTarget = aObjects.Resolve(refKind, leftId, CreationTypeOf(a));
        const Sarvo::NamedObject* rightTarget =
            bObjects.Resolve(refKind, rightId, CreationTypeOf(b));
        if (leftTarget == nullptr || rightTarget == nullptr) {
            if (leftTarget != rightTarget || leftId != rightId) {
                return false;
            }
        } else if (!SameAtDepth(refKind, *leftTarget, aObjects, *rightTarget, bObjects,
                                depth + 1)) {
            return false;
        }
    }
    return true;
}

}  // namespace

ObjectIndex::ObjectIndex(const Sarvo::NamedObjects& objects) {
    ForEachNamedObject(objects, [this](NamedObjectType kind, const Sarvo::NamedObject& object) {
        Enter(kind, object);
    });
}

void ObjectIndex::Enter(NamedObjectType kind, const Sarvo::NamedObject& object) {
    exact_.emplace(std::make_tuple(static_cast<int>(kind), static_cast<int>(object.Id()),
                                   static_cast<int>(CreationTypeOf(object))),
                   &object);
    anyCreation_.emplace(std::make_pair(static_cast<int>(kind), static_cast<int>(object.Id())),
                         &object);
}

const Sarvo::NamedObject* ObjectIndex::Resolve(NamedObjectType kind, int id,
                                               CreationType referrer) const {
    auto same =
        exact_.find(std::make_tuple(static_cast<int>(kind), id, static_cast<int>(referrer)));
    if (same != exact_.end()) {
        return same->second;
    }
    auto any = anyCreation_.find(std::make_pair(static_cast<int>(kind), id));
    return any == anyCreation_.end() ? nullptr : any->second;
}

bool SameObject(NamedObjectType kind, const Sarvo::NamedObject& a, const ObjectIndex& aObjects,
                const Sarvo::NamedObject& b, const ObjectIndex& bObjects) {
    return SameAtDepth(kind, a, aObjects, b, bObjects, 0);
}

}  // namespace fwcommon
