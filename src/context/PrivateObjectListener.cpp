#include "context/PrivateObjectListener.h"

#include <algorithm>
#include <vector>

#include <fwcommon/Context.h>
#include <fwcommon/INamedObject.h>
#include <fwcommon/IRule.h>
#include "context/RegistryEntryParts.h"
#include "store/XmlReader.h"

namespace fwcommon {

namespace {

// The order in which the sections of a document are searched for a rule.
const std::vector<RuleType> kSectionSearchOrder = {eVPNRules, eNATRules, eTunnelRules, eLocalRules,
                                                   eTransitRules};

IdentifierWithType IdOf(const IDomainObject& object) {
    return IdentifierWithType(object.GetIdentifier(), object.GetCreationType());
}

bool SameIdentityAndKind(const INamedObject& object, const INamedObject& other) {
    return IdOf(object) == IdOf(other) && object.GetNamedObjectType() == other.GetNamedObjectType();
}

template <typename Pointer>
void AppendOnce(std::vector<Pointer>& list, const Pointer& item) {
    if (std::find(list.begin(), list.end(), item) == list.end()) {
        list.push_back(item);
    }
}

}  // namespace

// Hands the notifications of one domain object on with the object. The
// object is looked at only while it notifies, that is while it lives.
class PrivateObjectListener::ObjectListener : public IDomainObjectListener {
public:
    ObjectListener(const std::shared_ptr<PrivateObjectListener>& owner, const IDomainObject& object)
        : owner_(owner), object_(&object) {}

    void ObjectModified(DomainObjectType, std::uint32_t) override {
        if (auto owner = owner_.lock()) {
            owner->ObjectModifiedBy(*object_);
        }
    }
    void ObjectAdded(const std::shared_ptr<IDomainObject>& object) override {
        if (auto owner = owner_.lock()) {
            owner->ObjectAdded(object);
        }
    }
    void ObjectRemoved(DomainObjectType, std::uint32_t) override {
        if (auto owner = owner_.lock()) {
            owner->ObjectRemovedBy(*object_);
        }
    }
    // Commits and rollbacks are the Context's to run.
    bool Commit() override { return true; }
    bool Rollback() override { return true; }

private:
    std::weak_ptr<PrivateObjectListener> owner_;
    const IDomainObject* object_;
};

PrivateObjectListener::PrivateObjectListener(Context& context) : context_(&context) {}

std::shared_ptr<IDomainObjectListener> PrivateObjectListener::ListenerFor(
    const IDomainObject& object) {
    auto& slot = objectListeners_[&object];
    auto listener = slot.lock();
    if (!listener) {
        listener = std::make_shared<ObjectListener>(shared_from_this(), object);
        slot = listener;
        ForgetSilentListeners();
    }
    return listener;
}

void PrivateObjectListener::DetachFrom(IDomainObject& object) {
    const auto found = objectListeners_.find(&object);
    if (found == objectListeners_.end()) {
        return;
    }
    if (auto listener = found->second.lock()) {
        object.RemoveListener(listener);
    }
    objectListeners_.erase(found);
}

// The listeners of objects that are gone are dropped from time to time, so
// that the map grows with the objects alive rather than with every object
// ever handed out.
void PrivateObjectListener::ForgetSilentListeners() {
    if (objectListeners_.size() < 2 * silentListenerCheck_) {
        return;
    }
    for (auto it = objectListeners_.begin(); it != objectListeners_.end();) {
        it = it->second.expired() ? objectListeners_.erase(it) : std::next(it);
    }
    silentListenerCheck_ = std::max<std::size_t>(objectListeners_.size(), 1);
}

void PrivateObjectListener::ObjectModifiedBy(const IDomainObject& object) {
    Located found;
    if (!Locate(object, found)) {
        return;
    }
    if (object.GetDomainObjectType() == eNamedObject) {
        NamedObjectModified(found.dataname, std::dynamic_pointer_cast<INamedObject>(found.object));
        return;
    }
    DomainObjectModified(found.dataname, object.GetDomainObjectType(), found.creationType,
                         object.GetIdentifier());
}

void PrivateObjectListener::ObjectRemovedBy(const IDomainObject& object) {
    Located found;
    if (Locate(object, found)) {
        DomainObjectRemoved(found.dataname, object.GetDomainObjectType(), found.creationType,
                            object.GetIdentifier());
    }
}

void PrivateObjectListener::Detach() {
    Forget();
    context_ = nullptr;
}

void PrivateObjectListener::ObjectModified(DomainObjectType type, std::uint32_t identifier) {
    Located found;
    if (Locate(type, identifier, found)) {
        DomainObjectModified(found.dataname, type, found.creationType, identifier);
    }
}

void PrivateObjectListener::ObjectAdded(const std::shared_ptr<IDomainObject>& object) {
    Located found;
    if (object && Locate(object->GetDomainObjectType(), object->GetIdentifier(), found)) {
        DomainObjectAdded(found.dataname, object);
    }
}

void PrivateObjectListener::ObjectRemoved(DomainObjectType type, std::uint32_t identifier) {
    Located found;
    if (Locate(type, identifier, found)) {
        DomainObjectRemoved(found.dataname, type, found.creationType, identifier);
    }
}

bool PrivateObjectListener::Locate(DomainObjectType type, std::uint32_t identifier,
                                   Located& found) const {
    if (context_ == nullptr) {
        return false;
    }
    for (const auto& entry : context_->registry_) {
        const Context::Data& data = DataOf(entry);
        if (type == eNamedObject) {
            for (const auto& record : data.namedObjects) {
                if (record->object->GetIdentifier() == identifier) {
                    found = Located{entry.first, record->object->GetCreationType(), record->object};
                    return true;
                }
            }
        } else if (type == eRule && data.reader) {
            if (auto rule = data.reader->FindRuleInSections(identifier, kSectionSearchOrder)) {
                found = Located{entry.first, rule->GetCreationType(), rule};
                return true;
            }
        }
    }
    return false;
}

bool PrivateObjectListener::Locate(const IDomainObject& object, Located& found) const {
    if (context_ == nullptr) {
        return false;
    }
    const IdentifierWithType id = IdOf(object);
    auto search = [&](auto matches) {
        for (const auto& entry : context_->registry_) {
            const Context::Data& data = DataOf(entry);
            if (object.GetDomainObjectType() == eNamedObject) {
                for (const auto& record : data.namedObjects) {
                    if (matches(*record->object)) {
                        found = Located{entry.first, id.creationType, record->object};
                        return true;
                    }
                }
            } else if (object.GetDomainObjectType() == eRule && data.reader) {
                if (auto rule = data.reader->FindRuleInSections(id.identifier, kSectionSearchOrder,
                                                                matches)) {
                    found = Located{entry.first, id.creationType, rule};
                    return true;
                }
            }
        }
        return false;
    };
    // A store hands out copies of its rules: a rule is also found by its
    // identifier and creation type.
    return search([&](const IDomainObject& other) { return &other == &object; }) ||
           (object.GetDomainObjectType() == eRule &&
            search([&](const IDomainObject& other) { return IdOf(other) == id; }));
}

std::shared_ptr<INamedObject> PrivateObjectListener::KeptNamedObject(const std::wstring& dataname,
                                                                     IdentifierWithType id) const {
    const auto entry = context_->find(dataname);
    if (entry == context_->registry_.end()) {
        return std::shared_ptr<INamedObject>();
    }
    for (const auto& record : DataOf(*entry).namedObjects) {
        if (IdOf(*record->object) == id) {
            return record->object;
        }
    }
    return std::shared_ptr<INamedObject>();
}

void PrivateObjectListener::DomainObjectModified(const std::wstring& dataname,
                                                 DomainObjectType type, CreationType creationType,
                                                 unsigned long identifier) {
    if (context_ == nullptr || context_->find(dataname) == context_->registry_.end()) {
        return;
    }
    if (type == eNamedObject) {
        const IdentifierWithType id(static_cast<std::uint32_t>(identifier), creationType);
        if (auto object = KeptNamedObject(dataname, id)) {
            AppendOnce(modified_[dataname], object);
            lastModified_ = std::move(object);
        }
    }
    context_->objectModified(dataname, type, creationType, identifier);
}

void PrivateObjectListener::NamedObjectModified(const std::wstring& dataname,
                                                const std::shared_ptr<INamedObject>& object) {
    if (context_ == nullptr || !object || context_->find(dataname) == context_->registry_.end()) {
        return;
    }
    AppendOnce(modified_[dataname], object);
    lastModified_ = object;
    context_->objectModified(dataname, eNamedObject, object->GetCreationType(),
                             object->GetIdentifier());
}

void PrivateObjectListener::DomainObjectAdded(const std::wstring& dataname,
                                              const std::shared_ptr<IDomainObject>& object) {
    if (context_ == nullptr) {
        return;
    }
    if (object &&
        (object->GetDomainObjectType() == eNamedObject || object->GetDomainObjectType() == eRule)) {
        AppendOnce(added_[dataname], object);
    }
    context_->objectAdded(dataname, object);
}

void PrivateObjectListener::DomainObjectRemoved(const std::wstring& dataname, DomainObjectType type,
                                                CreationType creationType,
                                                unsigned long identifier) {
    if (context_ == nullptr) {
        return;
    }
    if (type == eNamedObject) {
        NoteRemovalAnnounced(
            dataname, IdentifierWithType(static_cast<std::uint32_t>(identifier), creationType));
    }
    context_->objectRemoved(dataname, type, creationType, identifier);
}

void PrivateObjectListener::NoteNamedObjectRemoved(const std::wstring& dataname,
                                                   const std::shared_ptr<INamedObject>& object) {
    if (context_ == nullptr || !object) {
        return;
    }
    AppendOnce(removed_[dataname], object);
    auto& modified = modified_[dataname];
    modified.erase(std::remove(modified.begin(), modified.end(), object), modified.end());
}

// An announcement names an identifier only: unless the Context noted the
// object itself, the removed object is the first the dataname holds under
// that identifier.
void PrivateObjectListener::NoteRemovalAnnounced(const std::wstring& dataname,
                                                 IdentifierWithType id) {
    const auto& noted = removed_[dataname];
    const bool known = std::any_of(noted.begin(), noted.end(),
                                   [&](const auto& object) { return IdOf(*object) == id; });
    if (known) {
        return;
    }
    auto object = KeptNamedObject(dataname, id);
    if (!object) {
        const auto entry = context_->find(dataname);
        if (entry != context_->registry_.end() && DataOf(*entry).reader) {
            object = DataOf(*entry).reader->GetNamedObjectById(id);
        }
    }
    NoteNamedObjectRemoved(dataname, object);
}

// Commits what is still pending up to the named-objects document and
// collects the named objects of every document of that document's creation
// type.
std::vector<std::shared_ptr<INamedObject>> PrivateObjectListener::CommitDocuments() {
    const Context::RegistryEntry* namedObjectsEntry = nullptr;
    for (const auto& entry : context_->registry_) {
        const auto& reader = DataOf(entry).reader;
        if (reader && reader->HasChanges()) {
            reader->CommitChanges();
        }
        if (entry.first == context_->namedObjectsDataname_) {
            namedObjectsEntry = &entry;
            break;
        }
    }
    std::vector<std::shared_ptr<INamedObject>> collected;
    if (namedObjectsEntry == nullptr) {
        return collected;
    }
    const CreationType creationType = DataOf(*namedObjectsEntry).creationType;
    for (const auto& entry : context_->registry_) {
        if (DataOf(entry).creationType == creationType) {
            for (const auto& record : DataOf(entry).namedObjects) {
                collected.push_back(record->object);
            }
        }
    }
    return collected;
}

bool PrivateObjectListener::Commit() {
    if (context_ == nullptr) {
        return true;
    }
    auto collected = CommitDocuments();
    context_->committing();
    if (!collected.empty()) {
        context_->namedObjectsCommitted(collected);
    }
    Forget();
    return true;
}

// Announces every pending addition as removed and drops the records of
// added named objects (unless also pending as removed).
void PrivateObjectListener::RollBackAdditions() {
    for (const auto& pending : added_) {
        const auto& removed = removed_[pending.first];
        for (const auto& object : pending.second) {
            const IdentifierWithType id = IdOf(*object);
            context_->objectRemoved(pending.first, object->GetDomainObjectType(), id.creationType,
                                    id.identifier);
            const auto entry = context_->find(pending.first);
            if (object->GetDomainObjectType() != eNamedObject ||
                std::find(removed.begin(), removed.end(), object) != removed.end() ||
                entry == context_->registry_.end()) {
                continue;
            }
            auto& records = DataOf(*entry).namedObjects;
            records.erase(std::remove_if(records.begin(), records.end(),
                                         [&](const auto& record) {
                                             return record->object.get() == object.get();
                                         }),
                          records.end());
        }
    }
}

// Puts back the records of removed named objects from the rolled-back
// documents and announces them as modified; returns every named object
// concerned (restored and modified ones).
std::vector<std::shared_ptr<INamedObject>> PrivateObjectListener::RestoreNamedObjects() {
    std::vector<std::shared_ptr<INamedObject>> concerned;
    for (const auto& pending : removed_) {
        const auto entry = context_->find(pending.first);
        if (entry == context_->registry_.end()) {
            continue;
        }
        for (const auto& removed : pending.second) {
            auto object = RestoredObject(*entry, removed);
            if (!object) {
                continue;
            }
            auto& records = DataOf(*entry).namedObjects;
            const bool kept = std::any_of(records.begin(), records.end(), [&](const auto& record) {
                return SameIdentityAndKind(*record->object, *object);
            });
            if (!kept) {
                object->AddListener(ListenerFor(*object));
                auto record = std::make_shared<Context::InternalNamedObject>();
                record->object = object;
                record->datanames.push_back(pending.first);
                records.push_back(std::move(record));
            }
            const IdentifierWithType id = IdOf(*object);
            context_->objectModified(pending.first, eNamedObject, id.creationType, id.identifier);
            AppendOnce(concerned, object);
        }
    }
    for (const auto& pending : modified_) {
        for (const auto& object : pending.second) {
            AppendOnce(concerned, object);
        }
    }
    return concerned;
}

// The object a rollback puts back for a removed one: the document's own of
// its identity and kind after its rollback, else (an object the document
// does not hold) the object as it was removed, unless it was added since
// the last commit or rollback.
std::shared_ptr<INamedObject> PrivateObjectListener::RestoredObject(
    const Context::RegistryEntry& entry, const std::shared_ptr<INamedObject>& removed) const {
    if (const auto& reader = DataOf(entry).reader) {
        for (const auto& object : reader->GetNamedObjects()) {
            if (SameIdentityAndKind(*object, *removed)) {
                return object;
            }
        }
    }
    const auto added = added_.find(entry.first);
    const bool wasAdded =
        added != added_.end() &&
        std::find(added->second.begin(), added->second.end(), removed) != added->second.end();
    return wasAdded ? std::shared_ptr<INamedObject>() : removed;
}

bool PrivateObjectListener::Rollback() {
    if (context_ == nullptr) {
        return true;
    }
    RollBackAdditions();
    context_->rollingBack();
    const auto concerned = RestoreNamedObjects();
    context_->namedObjectsRolledBack(concerned);
    Forget();
    return true;
}

void PrivateObjectListener::Forget() {
    modified_.clear();
    added_.clear();
    removed_.clear();
    lastModified_.reset();
}

}  // namespace fwcommon
