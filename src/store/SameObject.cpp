#include "store/SameObject.h"

#include <memory>
#include <vector>

#include "store/ObjectReferences.h"

namespace fwcommon {
namespace {

// How deep SameObject follows references between objects.
constexpr int kDeepestReference = 16;

CreationType CreationTypeOf(const Sarvo::NamedObject& object) {
    return static_cast<CreationType>(static_cast<int>(object.CreationType()));
}

// An object with its Id and the Ids of its references set to 0, and the
// references taken out, in member order.
struct Anonymous {
    std::unique_ptr<Sarvo::NamedObject> object;
    std::vector<std::pair<NamedObjectType, int>> references;
};

Anonymous Anonymise(const Sarvo::NamedObject& object) {
    Anonymous out{std::unique_ptr<Sarvo::NamedObject>(object._clone()), {}};
    out.object->Id(0);
    ForEachObjectReference(*out.object, [&out](NamedObjectType kind, int& id) {
        out.references.emplace_back(kind, id);
        id = 0;
    });
    return out;
}

template <typename Kind>
bool EqualAs(const Sarvo::NamedObject& a, const Sarvo::NamedObject& b) {
    const auto* left = dynamic_cast<const Kind*>(&a);
    const auto* right = dynamic_cast<const Kind*>(&b);
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

bool SameAtDepth(NamedObjectType kind, const Sarvo::NamedObject& a, const ObjectIndex& aObjects,
                 const Sarvo::NamedObject& b, const ObjectIndex& bObjects, int depth) {
    if (depth > kDeepestReference || a.Name() != b.Name() ||
        CreationTypeOf(a) != CreationTypeOf(b)) {
        return false;
    }
    const Anonymous left = Anonymise(a);
    const Anonymous right = Anonymise(b);
    if (left.references.size() != right.references.size() ||
        !EqualContent(kind, *left.object, *right.object)) {
        return false;
    }
    for (std::size_t i = 0; i < left.references.size(); ++i) {
        const auto [refKind, leftId] = left.references[i];
        const int rightId = right.references[i].second;
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
