// Named objects of the document as domain objects, written back on change.

#include <sstream>
#include <stdexcept>

#include <fwcommon/CreateNamedObject.h>
#include <fwcommon/LogFacility.h>
#include <fwcommon/StringUtilities.h>
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

// The object a reference names: the one with that Id and the referring
// object's creation type, else the first with that Id.
std::shared_ptr<INamedObject> FindReferenced(const NamedObjectList& objects, int id,
                                             CreationType creationType) {
    const auto identifier = static_cast<std::uint32_t>(id);
    if (auto same = FindById(objects, {identifier, creationType})) {
        return same;
    }
    for (const auto& object : objects) {
        if (object->GetIdentifier() == identifier) {
            return object;
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

void XmlReader::ParseNamedObjects() {
    auto objects = std::make_shared<NamedObjectList>();
    identifierIndex_.clear();
    unresolvedReferences_.clear();
    std::vector<std::vector<ObjectReference>> references;
    if (live_->NamedObjects()) {
        for (NamedObjectType type : kListOrder) {
            for (Sarvo::NamedObject* element : ElementsOfKind(*live_->NamedObjects(), type)) {
                references.emplace_back();
                objects->push_back(ObjectFromElement(*element, type, references.back()));
            }
        }
    }
    for (std::size_t i = 0; i < objects->size(); ++i) {
        ResolveReferences(*(*objects)[i], references[i], *objects);
    }
    for (const auto& object : *objects) {
        identifierIndex_[object->GetIdentifier()] = IdOf(*object);
        object->AddListener(namedObjectListener_);
    }
    namedObjects_ = objects;
    namedObjectsParsed_ = true;
}

// Adds the referenced objects found among candidates to the object's lists;
// the rest stay recorded as unresolved.
void XmlReader::ResolveReferences(INamedObject& object, std::vector<ObjectReference>& references,
                                  const NamedObjectList& candidates) {
    std::vector<ObjectReference> missing;
    for (const ObjectReference& ref : references) {
        auto target = FindReferenced(candidates, ref.id, object.GetCreationType());
        if (target) {
            object.AddNamedObject(ref.list, target);
        } else {
            missing.push_back(ref);
        }
    }
    if (missing.empty()) {
        unresolvedReferences_.erase(IdOf(object));
    } else {
        unresolvedReferences_[IdOf(object)] = missing;
    }
}

void XmlReader::ResolveNamedObjects(std::shared_ptr<const NamedObjectList> objects) {
    EnsureNamedObjectsParsed();
    const NamedObjectList candidates = objects ? *objects : NamedObjectList();
    for (const auto& object : *namedObjects_) {
        auto pending = unresolvedReferences_.find(IdOf(*object));
        if (pending == unresolvedReferences_.end()) {
            continue;
        }
        for (const ObjectReference& ref : pending->second) {
            auto target = FindReferenced(candidates, ref.id, object->GetCreationType());
            if (!target) {
                std::wostringstream message;
                message << L"fwcommon::XmlReader::ResolveNamedObjects:"
                        << object->GetNamedObjectType() << L"object not found. id=" << ref.id
                        << L"\nAll named objects:\n";
                for (const auto& candidate : candidates) {
                    const INamedObject& c = *candidate;
                    message << L"\t'" << c.GetName() << L"', id = " << c.GetIdentifier() << L"\n";
                }
                GetLibLogFacility().Log(message.str(), 4);
                throw std::runtime_error(StringUtilities::GetErrorString("", message.str()));
            }
            object->AddNamedObject(ref.list, target);
        }
        unresolvedReferences_.erase(pending);
    }
}

Sarvo::NamedObject* XmlReader::ElementOf(const INamedObject& object) {
    if (!live_->NamedObjects()) {
        return nullptr;
    }
    for (Sarvo::NamedObject* element :
         ElementsOfKind(*live_->NamedObjects(), object.GetNamedObjectType())) {
        if (static_cast<std::uint32_t>(element->Id()) == object.GetIdentifier() &&
            static_cast<int>(element->CreationType()) == object.GetCreationType()) {
            return element;
        }
    }
    return nullptr;
}

void XmlReader::WriteBack(INamedObject& object) {
    MutableLive();
    if (Sarvo::NamedObject* element = ElementOf(object)) {
        auto unresolved = unresolvedReferences_.find(IdOf(object));
        WriteObjectIntoElement(object,
                               unresolved == unresolvedReferences_.end()
                                   ? std::vector<ObjectReference>()
                                   : unresolved->second,
                               *element);
    }
    namedObjectsChanged_ = true;
}

void XmlReader::NamedObjectListener::ObjectModified(DomainObjectType type,
                                                    std::uint32_t identifier) {
    if (!reader_ || type != eNamedObject) {
        return;
    }
    auto known = reader_->identifierIndex_.find(identifier);
    if (known == reader_->identifierIndex_.end()) {
        return;
    }
    if (auto object = reader_->GetNamedObjectById(known->second)) {
        reader_->WriteBack(*object);
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

    std::unique_ptr<Sarvo::NamedObject> element = ElementFromObject(*object);
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
    object->AddListener(namedObjectListener_);
    namedObjectsChanged_ = true;
}

std::shared_ptr<INamedObject> XmlReader::UpdateNamedObject(std::shared_ptr<INamedObject> object) {
    EnsureNamedObjectsParsed();
    auto stored = FindById(*namedObjects_, IdOf(*object));
    if (!stored) {
        AddNamedObject(object);
        return object;
    }
    if (stored != object) {
        stored->AssignFrom(object);
    }
    namedObjectListener_->ObjectModified(eNamedObject, stored->GetIdentifier());
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
    for (auto it = objects.begin(); it != objects.end(); ++it) {
        const INamedObject& object = **it;
        if (object.GetName() != name || object.GetCreationType() != creationType) {
            continue;
        }
        const std::shared_ptr<INamedObject> removed = *it;
        removedNamedObjects_.push_back(removed);
        objects.erase(it);
        if (object.GetIdentifier() == 0) {
            return false;
        }
        namedObjectsChanged_ = true;
        Sarvo::NamedObject* element = ElementOf(*removed);
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
    return false;
}

void XmlReader::RemoveNamedObjectById(IdentifierWithType id) {
    if (auto object = GetNamedObjectById(id)) {
        const INamedObject& found = *object;
        RemoveNamedObjectByName(id.creationType, found.GetName());
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
