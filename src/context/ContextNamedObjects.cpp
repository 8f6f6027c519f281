#include <fwcommon/Context.h>

#include <algorithm>
#include <stdexcept>

#include <fwcommon/CreateNamedObject.h>
#include <fwcommon/INamedObject.h>
#include <fwcommon/LogFacility.h>
#include <fwcommon/StringUtilities.h>
#include "context/DatanameCheck.h"
#include "context/DocumentTextCheck.h"
#include "context/PrivateObjectListener.h"
#include "context/RegistryEntryParts.h"
#include "domain/NamedObject.h"
#include "domain/NamedObjectNumbers.h"
#include "store/XmlReader.h"
#include "support/ComposedLog.h"

namespace fwcommon {

namespace {

bool SameIdentity(const INamedObject& object, IdentifierWithType id) {
    return object.GetIdentifier() == id.identifier && object.GetCreationType() == id.creationType;
}

Context::NamedObjectRecords::iterator FindById(Context::NamedObjectRecords& records,
                                               IdentifierWithType id) {
    return std::find_if(records.begin(), records.end(),
                        [&](const auto& record) { return SameIdentity(*record->object, id); });
}

// Identifier, creation type and kind: objects of different kinds may share
// an identifier.
bool SameIdentityAndKind(const INamedObject& object, const INamedObject& other) {
    return SameIdentity(object,
                        IdentifierWithType(other.GetIdentifier(), other.GetCreationType())) &&
           object.GetNamedObjectType() == other.GetNamedObjectType();
}

// The record holding the object itself, else the first of its identity
// and kind.
Context::NamedObjectRecords::iterator FindSame(Context::NamedObjectRecords& records,
                                               const INamedObject& object) {
    const auto itself = std::find_if(records.begin(), records.end(), [&](const auto& record) {
        return record->object.get() == &object;
    });
    if (itself != records.end()) {
        return itself;
    }
    return std::find_if(records.begin(), records.end(), [&](const auto& record) {
        return SameIdentityAndKind(*record->object, object);
    });
}

Context::NamedObjectRecords::iterator FindByName(Context::NamedObjectRecords& records,
                                                 CreationType creationType,
                                                 const std::wstring& name) {
    return std::find_if(records.begin(), records.end(), [&](const auto& record) {
        const INamedObject& object = *record->object;
        return object.GetName() == name && object.GetCreationType() == creationType;
    });
}

// The record at an index; the message is the one of the standard
// library's checked vector access.
Context::NamedObjectRecords::iterator RecordAt(Context::NamedObjectRecords& records,
                                               unsigned int index) {
    if (index >= records.size()) {
        throw std::out_of_range("invalid vector<T> subscript");
    }
    return records.begin() + index;
}

std::wstring Prefix(const std::wstring& dataname) {
    return L"'" + dataname + L"': ";
}

void Log(const std::wstring& text, int level) {
    GetLibLogFacility().Log(text, level);
}

// "'dataname': SetNamedObjects, mode: (k,m)\t...", the listing ending after
// the first editable mode.
std::wstring SetNamedObjectsLogText(const std::wstring& dataname, const Context::ModesMap& modes) {
    std::wstring text = Prefix(dataname) + L"SetNamedObjects, mode: ";
    for (const auto& mode : modes) {
        text += L"(" + std::to_wstring(mode.first) + L"," + std::to_wstring(mode.second) + L")\t";
        if (mode.second == Context::Modes::eEditable) {
            break;
        }
    }
    return text;
}

}  // namespace

std::shared_ptr<Context::InternalNamedObject> Context::KeepNamedObject(
    RegistryEntry& entry, const std::shared_ptr<INamedObject>& object) {
    auto record = std::make_shared<InternalNamedObject>();
    record->object = object;
    record->datanames.push_back(entry.first);
    DataOf(entry).namedObjects.push_back(record);
    if (DataOf(entry).reader) {
        DataOf(entry).reader->AddNamedObject(object);
    }
    object->AddListener(listener_->ListenerFor(*object));
    return record;
}

std::shared_ptr<const NamedObjectList> Context::GetNamedObjects(
    const std::wstring& dataname) const {
    const Data& data = DataOf(CheckedEntry("fwcommon::Context::GetNamedObjects", dataname));
    auto objects = std::make_shared<NamedObjectList>();
    objects->reserve(data.namedObjects.size());
    for (const auto& record : data.namedObjects) {
        objects->push_back(record->object);
    }
    return objects;
}

std::shared_ptr<const NamedObjectList> Context::GetNamedObjects(const std::wstring& dataname,
                                                                NamedObjectType type) const {
    const Data& data = DataOf(CheckedEntry("fwcommon::Context::GetNamedObjects", dataname));
    auto objects = std::make_shared<NamedObjectList>();
    for (const auto& record : data.namedObjects) {
        if (record->object->GetNamedObjectType() == type) {
            objects->push_back(record->object);
        }
    }
    return objects;
}

std::shared_ptr<INamedObject> Context::GetNamedObject(const std::wstring& dataname,
                                                      unsigned int index) {
    auto& records =
        DataOf(CheckedEntry("fwcommon::Context::GetNamedObject", dataname)).namedObjects;
    const auto& object = (*RecordAt(records, index))->object;
    object->AddListener(listener_->ListenerFor(*object));
    return object;
}

std::shared_ptr<INamedObject> Context::GetNamedObject(const std::wstring& dataname,
                                                      CreationType creationType,
                                                      const std::wstring& name) {
    auto& records =
        DataOf(CheckedEntry("fwcommon::Context::GetNamedObject", dataname)).namedObjects;
    const auto record = FindByName(records, creationType, name);
    if (record == records.end()) {
        return std::shared_ptr<INamedObject>();
    }
    (*record)->object->AddListener(listener_->ListenerFor(*(*record)->object));
    return (*record)->object;
}

std::shared_ptr<INamedObject> Context::GetNamedObjectById(const std::wstring& dataname,
                                                          IdentifierWithType id) const {
    // A copy, so that a listener reacting to the look-up cannot pull the
    // records from under the walk.
    NamedObjectRecords records =
        DataOf(CheckedEntry("fwcommon::Context::GetNamedObjectById", dataname)).namedObjects;
    const auto record = FindById(records, id);
    return record == records.end() ? std::shared_ptr<INamedObject>() : (*record)->object;
}

std::shared_ptr<INamedObject> Context::CreateNamedObject(const std::wstring& dataname,
                                                         const std::wstring& name,
                                                         const std::wstring& description,
                                                         NamedObjectType type) {
    const char* function = "fwcommon::Context::CreateNamedObject";
    RegistryEntry& entry = CheckedEntry(function, dataname);
    RequireDocumentText(function, "name", name);
    RequireDocumentText(function, "description", description);
    EnsureNamedObjectNumbers(internalNumberBase_);
    if (!IsNamedObjectsEditable(dataname, type)) {
        return std::shared_ptr<INamedObject>();
    }
    auto object = fwcommon::CreateNamedObject(name, description, type, DataOf(entry).creationType);
    KeepNamedObject(entry, object);
    namedObjectsChange_ = std::make_pair(static_cast<int>(type), eAdded);
    namedObjectsChangeOfCreation_ = namedObjectsChange_;
    MarkDomainObjectAsAdded(dataname, object);
    return object;
}

bool Context::UpdateNamedObject(const std::wstring& dataname,
                                const std::shared_ptr<INamedObject>& object) {
    RegistryEntry& entry = CheckedEntry("fwcommon::Context::UpdateNamedObject", dataname);
    EnsureNamedObjectNumbers(internalNumberBase_);
    if (!object) {
        throw std::invalid_argument(StringUtilities::GetErrorString(
            "fwcommon::Context::UpdateNamedObject", std::string("Empty named object")));
    }
    RequireDocumentText("fwcommon::Context::UpdateNamedObject", "name", object->GetName());
    RequireDocumentText("fwcommon::Context::UpdateNamedObject", "description",
                        object->GetDescription());
    if (!IsNamedObjectsEditable(dataname, object->GetNamedObjectType())) {
        return false;
    }
    auto& records = DataOf(entry).namedObjects;
    const auto record = FindSame(records, *object);
    if (record == records.end()) {
        KeepNamedObject(entry, object);
        MarkDomainObjectAsAdded(dataname, object);
        return true;
    }
    const auto kept = std::dynamic_pointer_cast<NamedObject>((*record)->object);
    if (!kept) {
        return false;
    }
    kept->AssignFrom(object);
    if (DataOf(entry).reader) {
        DataOf(entry).reader->UpdateNamedObject(object);
    }
    // Announced with the record's object itself: its identifier alone may
    // stand for objects of several kinds.
    listener_->NamedObjectModified(dataname, kept);
    return true;
}

// Takes the object out of the other objects of the document that include
// or exclude it; each of them notifies, so it is written back and
// announced. A copy of the records: the announcements run the host's slots.
void Context::RemoveFromIncludingObjects(const std::wstring& dataname, const INamedObject& object) {
    const auto entry = find(dataname);
    if (entry == registry_.end()) {
        return;
    }
    const NamedObjectRecords records = DataOf(*entry).namedObjects;
    for (const auto& record : records) {
        if (auto including = std::dynamic_pointer_cast<NamedObject>(record->object);
            including && including.get() != &object) {
            including->RemoveEntriesNaming(object);
        }
    }
}

// Takes the references to the object out of every document's rules
// (announcing those rules) and out of the objects that include it,
// forgets the record and removes the object from the document. With announce, the removal itself is
// announced. Objects of several kinds may share an identifier: the record and the document's object
// are those of this very object.
void Context::RemoveKeptNamedObject(const std::wstring& dataname,
                                    std::shared_ptr<INamedObject> object, bool announce) {
    const IdentifierWithType id = GetDomainObject(object);
    RuleDependencies dependencies;
    SearchRulesForNamedObject(object, dependencies, true);
    RemoveFromIncludingObjects(dataname, *object);
    listener_->NoteNamedObjectRemoved(dataname, object);
    if (announce) {
        MarkDomainObjectAsRemoved(dataname, eNamedObject, id.creationType, id.identifier);
    }
    // The search and the announcements ran the host's slots, which may
    // have changed the registry: find the entry and the record again.
    const auto current = find(dataname);
    if (current == registry_.end()) {
        return;
    }
    auto& records = DataOf(*current).namedObjects;
    const auto kept = FindSame(records, *object);
    if (kept != records.end()) {
        records.erase(kept);
    }
    if (const auto& reader = DataOf(*current).reader) {
        reader->RemoveNamedObject(*object);
    }
}

bool Context::RemoveNamedObject(const std::wstring& dataname, CreationType creationType,
                                const std::wstring& name) {
    std::wstring text = Prefix(dataname) + L"RemoveNamedObject, name='" + name + L"'";
    RegistryEntry& entry = CheckedEntry("fwcommon::Context::RemoveNamedObject", dataname);
    auto& records = DataOf(entry).namedObjects;
    const auto record = FindByName(records, creationType, name);
    if (record == records.end()) {
        Log(text + L" - not found", kLogNotFound);
        return false;
    }
    RemoveKeptNamedObject(dataname, (*record)->object, true);
    Log(text, kLogRoutine);
    return true;
}

bool Context::RemoveNamedObject(const std::wstring& dataname, unsigned int index) {
    RegistryEntry& entry = CheckedEntry("fwcommon::Context::RemoveNamedObject", dataname);
    const auto record = RecordAt(DataOf(entry).namedObjects, index);
    RemoveKeptNamedObject(dataname, (*record)->object, true);
    return true;
}

bool Context::RemoveNamedObjectById(const std::wstring& dataname, IdentifierWithType id) {
    std::wstring text =
        Prefix(dataname) + L"RemoveNamedObjectById, id='" + std::to_wstring(id.identifier) + L"'";
    RegistryEntry& entry = CheckedEntry("fwcommon::Context::RemoveNamedObjectById", dataname);
    auto& records = DataOf(entry).namedObjects;
    const auto record = FindById(records, id);
    if (record == records.end()) {
        Log(text + L" - not found", kLogNotFound);
        return false;
    }
    namedObjectsChange_ =
        std::make_pair(static_cast<int>((*record)->object->GetNamedObjectType()), eRemoved);
    RemoveKeptNamedObject(dataname, (*record)->object, false);
    Log(text, kLogRoutine);
    return true;
}

void Context::SetNamedObjects(const std::wstring& dataname,
                              const std::vector<std::shared_ptr<INamedObject>>& objects,
                              CreationType creationType, const ModesMap& modes) {
    LogComposed(kLogRoutine, [&] { return SetNamedObjectsLogText(dataname, modes); });
    const char* function = "fwcommon::Context::SetNamedObjects";
    CheckDataname(function, dataname, nullptr, true);
    if (std::find(objects.begin(), objects.end(), nullptr) != objects.end()) {
        throw std::invalid_argument(
            StringUtilities::GetErrorString(function, std::string("Empty named object")));
    }
    auto entry = find(dataname);
    if (entry == registry_.end()) {
        Data data;
        data.creationType = creationType;
        registry_.emplace_back(dataname, std::make_pair(std::move(data), modes));
        entry = registry_.end() - 1;
    }
    NamedObjectRecords records;
    records.reserve(objects.size());
    for (const auto& object : objects) {
        object->AddListener(listener_->ListenerFor(*object));
        auto record = std::make_shared<InternalNamedObject>();
        record->object = object;
        record->datanames.push_back(dataname);
        records.push_back(std::move(record));
    }
    DataOf(*entry).namedObjects = std::move(records);
}

bool Context::IsNamedObjectsEditable(const std::wstring& dataname, NamedObjectType type) const {
    return HasEditableMode(dataname, static_cast<int>(type));
}

bool Context::IsNamedObjectsEditable() const {
    return std::any_of(registry_.begin(), registry_.end(), [](const RegistryEntry& entry) {
        const ModesMap& modes = ModesOf(entry);
        return std::any_of(modes.begin(), modes.end(),
                           [](const auto& mode) { return mode.second == Modes::eEditable; });
    });
}

}  // namespace fwcommon
