// Named objects of the document as domain objects, written back on change.

#include <algorithm>
#include <map>
#include <sstream>
#include <stdexcept>
#include <tuple>
#include <utility>

#include <fwcommon/CreateNamedObject.h>
#include <fwcommon/LogFacility.h>
#include <fwcommon/StringUtilities.h>
#include "store/ObjectReferences.h"
#include "store/ReaderListeners.h"
#include "store/XmlReader.h"

namespace fwcommon {
namespace {

constexpr NamedObjectType kListOrder[] = {eInterfaceObject, eIpAddressObject, eServiceObject,
                                          eScheduleObject, eSarvoGroupObject};

IdentifierWithType IdOf(const INamedObject& object) {
    return {object.GetIdentifier(), object.GetCreationType()};
}

std::shared_ptr<INamedObject> FindById(const NamedObjectList& objects, IdentifierWithType id) {
    for (const auto& object : objects) {
        if (IdOf(*object) == id) {
            return object;
        }
    }
    return nullptr;
}

// The stored object that stands for object: itself when it is stored, else
// the first of the same identifier, creation type and kind.
std::shared_ptr<INamedObject> FindStored(const NamedObjectList& objects,
                                         const INamedObject& object) {
    for (const auto& stored : objects) {
        if (stored.get() == &object) {
            return stored;
        }
    }
    for (const auto& stored : objects) {
        if (IdOf(*stored) == IdOf(object) &&
            stored->GetNamedObjectType() == object.GetNamedObjectType()) {
            return stored;
        }
    }
    return nullptr;
}

// Finds the object that a reference names: an object of the referring
// object's kind with that Id, of the referring object's creation type when
// there is one, else of any creation type.
class ObjectDirectory {
public:
    explicit ObjectDirectory(const NamedObjectList& objects) {
        for (const auto& object : objects) {
            const int kind = object->GetNamedObjectType();
            exact_.emplace(std::make_tuple(kind, object->GetIdentifier(),
                                           static_cast<int>(object->GetCreationType())),
                           object);
            anyCreation_.emplace(std::make_pair(kind, object->GetIdentifier()), object);
        }
    }

    std::shared_ptr<INamedObject> Find(const INamedObject& referring, int id) const {
        return Find(referring.GetNamedObjectType(), referring.GetCreationType(), id);
    }

    std::shared_ptr<INamedObject> Find(NamedObjectType kind, CreationType creationType,
                                       int id) const {
        const auto identifier = static_cast<std::uint32_t>(id);
        auto same = exact_.find(
            std::make_tuple(static_cast<int>(kind), identifier, static_cast<int>(creationType)));
        if (same != exact_.end()) {
            return same->second;
        }
        auto any = anyCreation_.find(std::make_pair(static_cast<int>(kind), identifier));
        return any == anyCreation_.end() ? nullptr : any->second;
    }

private:
    std::map<std::tuple<int, std::uint32_t, int>, std::shared_ptr<INamedObject>> exact_;
    std::map<std::pair<int, std::uint32_t>, std::shared_ptr<INamedObject>> anyCreation_;
};

// Calls visit(creation type of the rule, kind, Id) for every reference of
// every rule to a named object.
template <typename Visit>
void ForEachRuleReference(Sarvo::Rules& rules, Visit visit) {
    for (Sarvo::Rule& rule : rules.Rule()) {
        const auto creationType = static_cast<CreationType>(static_cast<int>(rule.CreationType()));
        ForEachObjectReference(rule.ConditionSet(), [&](NamedObjectType kind, int& id) {
            visit(creationType, kind, id);
        });
    }
}

// Takes out of previous the first object of the element's identity.
std::shared_ptr<INamedObject> TakeSameIdentity(NamedObjectList& previous,
                                               const INamedObject& element) {
    for (auto it = previous.begin(); it != previous.end(); ++it) {
        if (IdOf(**it) == IdOf(element) &&
            (*it)->GetNamedObjectType() == element.GetNamedObjectType()) {
            auto taken = *it;
            previous.erase(it);
            return taken;
        }
    }
    return nullptr;
}

}  // namespace

void XmlReader::EnsureNamedObjectsParsed() {
    if (!namedObjectsParsed_) {
        ParseNamedObjects();
    }
}

// Every object is made first and filled afterwards, so that a reference to
// an object written later in the document finds it and every list keeps
// the document's order.
//
// An object of previous (the list before a rollback, with the objects
// removed since) stands again for the element of its identity, taking the
// element's name and members but keeping its description, which the
// document does not hold: the objects callers hold stay the document's
// objects. The other objects of previous leave the list.
void XmlReader::ParseNamedObjects(const NamedObjectList& previous) {
    NamedObjectList unclaimed = previous;
    auto objects = std::make_shared<NamedObjectList>();
    std::vector<Sarvo::NamedObject*> elements;
    std::vector<bool> reused;
    if (live_->NamedObjects()) {
        for (NamedObjectType type : kListOrder) {
            for (Sarvo::NamedObject* element : ElementsOfKind(*live_->NamedObjects(), type)) {
                auto fresh = ObjectFromElement(*element, type);
                auto kept = TakeSameIdentity(unclaimed, *fresh);
                if (kept) {
                    // Emptied first, so that reading the members of one
                    // object meets the others as a first reading does.
                    fresh->SetDescription(kept->GetDescription());
                    kept->AssignFrom(fresh);
                }
                elements.push_back(element);
                reused.push_back(kept != nullptr);
                objects->push_back(kept ? kept : fresh);
            }
        }
    }
    for (const auto& object : unclaimed) {
        DetachListener(*object);
    }
    namedObjects_ = objects;
    ReadNamedObjectMembers(elements, reused);
    identifierIndex_.clear();
    for (const auto& object : *objects) {
        identifierIndex_[object->GetIdentifier()] = IdOf(*object);
        AttachListener(object);
    }
    namedObjectsParsed_ = true;
}

// A reused object is filled through a fresh one of its identity, which no
// listener hears, and then takes its content without notifying anybody.
void XmlReader::ReadNamedObjectMembers(const std::vector<Sarvo::NamedObject*>& elements,
                                       const std::vector<bool>& reused) {
    const NamedObjectList& objects = *namedObjects_;
    const ObjectDirectory directory(objects);
    memberOrigins_.clear();
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const std::shared_ptr<INamedObject>& object = objects[i];
        auto resolve = [&](int id) { return directory.Find(*object, id); };
        if (!reused[i]) {
            memberOrigins_[object.get()] = ReadMembers(*elements[i], *object, resolve);
            continue;
        }
        auto scratch = ObjectFromElement(*elements[i], object->GetNamedObjectType());
        scratch->SetDescription(object->GetDescription());
        memberOrigins_[object.get()] = ReadMembers(*elements[i], *scratch, resolve);
        object->AssignFrom(scratch);
    }
}

void XmlReader::AttachListener(const std::shared_ptr<INamedObject>& object) {
    auto& listener = namedObjectListeners_[object.get()];
    if (!listener) {
        listener = std::make_shared<NamedObjectListener>(*this, *object);
    }
    object->AddListener(listener);
}

void XmlReader::DetachListener(INamedObject& object) {
    const auto found = namedObjectListeners_.find(&object);
    if (found == namedObjectListeners_.end()) {
        return;
    }
    found->second->Detach();
    object.RemoveListener(found->second);
    namedObjectListeners_.erase(found);
}

void XmlReader::ResolveNamedObjects(std::shared_ptr<const NamedObjectList> objects) {
    EnsureNamedObjectsParsed();
    const NamedObjectList& candidates = objects ? *objects : NamedObjectList();
    const ObjectDirectory directory(candidates);
    for (const auto& object : *namedObjects_) {
        auto origins = memberOrigins_.find(object.get());
        if (origins == memberOrigins_.end()) {
            continue;
        }
        const Sarvo::NamedObject* element = ElementOf(*object);
        for (std::uint32_t list = 0; element && list < 2; ++list) {
            auto& members = origins->second.lists[list];
            for (std::size_t i = 0; i < members.size(); ++i) {
                if (!members[i].unresolvedReference) {
                    continue;
                }
                const int id = ReferencedId(MemberAt(*element, list, i)).value_or(0);
                auto target = directory.Find(*object, id);
                if (!target) {
                    ReportMissingReference(object->GetNamedObjectType(), id, candidates);
                }
                members[i].unresolvedReference = false;
                if (object->AddNamedObject(list, target)) {
                    members[i].entry = target.get();
                }
            }
        }
    }
    const ObjectDirectory own(*namedObjects_);
    ForEachRuleReference(
        live_->Rules(), [&](CreationType creationType, NamedObjectType kind, int id) {
            // A rule may name an object of its own document or one of the list.
            if (!own.Find(kind, creationType, id) && !directory.Find(kind, creationType, id)) {
                ReportMissingReference(kind, id, candidates);
            }
        });
}

void XmlReader::ReportMissingReference(NamedObjectType kind, int id,
                                       const NamedObjectList& candidates) {
    std::wostringstream message;
    message << L"fwcommon::XmlReader::ResolveNamedObjects:" << kind << L"object not found. id="
            << id << L"\nAll named objects:\n";
    for (const auto& candidate : candidates) {
        const INamedObject& c = *candidate;
        message << L"\t'" << c.GetName() << L"', id = " << c.GetIdentifier() << L"\n";
    }
    GetLibLogFacility().Log(message.str(), kLogRefused);
    throw std::runtime_error(StringUtilities::GetErrorString("", message.str()));
}

// The element of an object: the element of its kind with its Id and
// creation type, the n-th such element for the n-th such object should a
// document repeat an identity.
Sarvo::NamedObject* XmlReader::ElementOf(const INamedObject& object) {
    if (!live_->NamedObjects()) {
        return nullptr;
    }
    auto sameIdentity = [&object](const INamedObject& other) {
        return IdOf(other) == IdOf(object) &&
               other.GetNamedObjectType() == object.GetNamedObjectType();
    };
    std::size_t rank = 0;
    for (const auto& other : *namedObjects_) {
        if (other.get() == &object) {
            break;
        }
        rank += sameIdentity(*other) ? 1 : 0;
    }
    for (Sarvo::NamedObject* element :
         ElementsOfKind(*live_->NamedObjects(), object.GetNamedObjectType())) {
        if (static_cast<std::uint32_t>(element->Id()) == object.GetIdentifier() &&
            static_cast<int>(element->CreationType()) == object.GetCreationType() && rank-- == 0) {
            return element;
        }
    }
    return nullptr;
}

void XmlReader::WriteBack(INamedObject& object) {
    MutableLive();
    if (Sarvo::NamedObject* element = ElementOf(object)) {
        WriteObjectIntoElement(object, memberOrigins_[&object], *element);
    }
    namedObjectsChanged_ = true;
}

void XmlReader::WriteBackListed(const INamedObject& object) {
    for (const auto& listed : *namedObjects_) {
        if (listed.get() == &object) {
            WriteBack(*listed);
            return;
        }
    }
}

void XmlReader::AddNamedObject(std::shared_ptr<INamedObject> object) {
    EnsureNamedObjectsParsed();
    Sarvo::PolicyType& live = MutableLive();
    if (!live.NamedObjects()) {
        live.NamedObjects(Sarvo::NamedObjects());
    }
    namedObjects_->push_back(object);
    addedNamedObjects_.push_back(object);

    std::unique_ptr<Sarvo::NamedObject> element =
        ElementFromObject(*object, memberOrigins_[object.get()]);
    Sarvo::NamedObjects& collections = *live.NamedObjects();
    switch (object->GetNamedObjectType()) {
        case eInterfaceObject:
            collections.InterfaceObject().push_back(static_cast<Sarvo::InterfaceObject&>(*element));
            break;
        case eIpAddressObject:
            collections.IpObject().push_back(static_cast<Sarvo::IpObject&>(*element));
            break;
        case eServiceObject:
            collections.ServiceObject().push_back(static_cast<Sarvo::ServiceObject&>(*element));
            break;
        case eScheduleObject:
            collections.ScheduleObject().push_back(static_cast<Sarvo::ScheduleObject&>(*element));
            break;
        case eSarvoGroupObject:
            collections.VpnObject().push_back(static_cast<Sarvo::VpnObject&>(*element));
            break;
    }
    identifierIndex_[object->GetIdentifier()] = IdOf(*object);
    AttachListener(object);
    namedObjectsChanged_ = true;
}

std::shared_ptr<INamedObject> XmlReader::UpdateNamedObject(std::shared_ptr<INamedObject> object) {
    EnsureNamedObjectsParsed();
    auto stored = FindStored(*namedObjects_, *object);
    if (!stored) {
        AddNamedObject(object);
        return object;
    }
    if (stored != object) {
        stored->AssignFrom(object);
    }
    WriteBack(*stored);
    const INamedObject& given = *object;
    return GetNamedObject(object->GetCreationType(), given.GetName());
}

std::shared_ptr<INamedObject> XmlReader::CreateNamedObject(CreationType creationType,
                                                           const std::wstring& name,
                                                           const std::wstring& description,
                                                           NamedObjectType type) {
    EnsureNamedObjectsParsed();
    auto object = fwcommon::CreateNamedObject(name, description, type, creationType);
    AddNamedObject(object);
    return object;
}

bool XmlReader::RemoveNamedObjectByName(CreationType creationType, const std::wstring& name) {
    EnsureNamedObjectsParsed();
    auto& objects = *namedObjects_;
    const auto found = std::find_if(objects.begin(), objects.end(), [&](const auto& object) {
        const INamedObject& named = *object;
        return named.GetName() == name && named.GetCreationType() == creationType;
    });
    return found != objects.end() && EraseNamedObject(found);
}

bool XmlReader::RemoveNamedObject(const INamedObject& object) {
    EnsureNamedObjectsParsed();
    const auto stored = FindStored(*namedObjects_, object);
    if (!stored) {
        return false;
    }
    return EraseNamedObject(std::find(namedObjects_->begin(), namedObjects_->end(), stored));
}

// Takes the object out of the list and its element out of the document;
// true when an element was erased.
bool XmlReader::EraseNamedObject(NamedObjectList::iterator position) {
    const std::shared_ptr<INamedObject> removed = *position;
    Sarvo::NamedObject* element = ElementOf(*removed);
    removedNamedObjects_.push_back(removed);
    namedObjects_->erase(position);
    memberOrigins_.erase(removed.get());
    DetachListener(*removed);
    if (removed->GetIdentifier() == 0) {
        return false;
    }
    namedObjectsChanged_ = true;
    if (!element) {
        return false;
    }
    MutableLive();
    auto erase = [element](auto& sequence) {
        for (auto e = sequence.begin(); e != sequence.end(); ++e) {
            if (&*e == element) {
                sequence.erase(e);
                return;
            }
        }
    };
    Sarvo::NamedObjects& collections = *live_->NamedObjects();
    erase(collections.InterfaceObject());
    erase(collections.IpObject());
    erase(collections.ServiceObject());
    erase(collections.ScheduleObject());
    erase(collections.VpnObject());
    return true;
}

// The object of that identity itself: a name may stand for objects of
// several kinds.
void XmlReader::RemoveNamedObjectById(IdentifierWithType id) {
    if (auto object = GetNamedObjectById(id)) {
        RemoveNamedObject(*object);
    }
}

NamedObjectList XmlReader::GetNamedObjectsByType(NamedObjectType type) {
    EnsureNamedObjectsParsed();
    NamedObjectList result;
    for (const auto& object : *namedObjects_) {
        if (object->GetNamedObjectType() == type) {
            result.push_back(object);
        }
    }
    return result;
}

NamedObjectList XmlReader::GetNamedObjects() {
    EnsureNamedObjectsParsed();
    return *namedObjects_;
}

std::shared_ptr<INamedObject> XmlReader::GetNamedObject(CreationType creationType,
                                                        const std::wstring& name) {
    EnsureNamedObjectsParsed();
    for (const auto& object : *namedObjects_) {
        const INamedObject& o = *object;
        if (o.GetName() == name && o.GetCreationType() == creationType) {
            return object;
        }
    }
    return nullptr;
}

std::shared_ptr<INamedObject> XmlReader::GetNamedObjectById(IdentifierWithType id) {
    EnsureNamedObjectsParsed();
    return FindById(*namedObjects_, id);
}

}  // namespace fwcommon
