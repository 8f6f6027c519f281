#include <fwcommon/Context.h>

#include <fwcommon/INamedObject.h>
#include <fwcommon/LogFacility.h>
#include "context/PrivateObjectListener.h"
#include "context/RegistryEntryParts.h"
#include "store/XmlReader.h"

namespace fwcommon {

IContextDomainObjectListener::~IContextDomainObjectListener() = default;

void Context::MarkDomainObjectAsModified(const std::wstring& dataname, DomainObjectType type,
                                         CreationType creationType, unsigned long identifier) {
    listener_->DomainObjectModified(dataname, type, creationType, identifier);
}

void Context::MarkDomainObjectAsAdded(const std::wstring& dataname,
                                      const std::shared_ptr<IDomainObject>& object) {
    listener_->DomainObjectAdded(dataname, object);
}

void Context::MarkDomainObjectAsRemoved(const std::wstring& dataname, DomainObjectType type,
                                        CreationType creationType, unsigned long identifier) {
    listener_->DomainObjectRemoved(dataname, type, creationType, identifier);
}

bool Context::CommitChanges() {
    GetLibLogFacility().Log(L"'CommitChanges'", kLogRoutine);
    for (auto& entry : registry_) {
        const auto& reader = DataOf(entry).reader;
        if (reader && reader->HasChanges()) {
            reader->CommitChanges();
        }
    }
    if (const auto& object = listener_->LastModifiedNamedObject()) {
        namedObjectsChange_ =
            std::make_pair(static_cast<int>(object->GetNamedObjectType()), eModified);
    }
    const bool committed = listener_->Commit();
    ClearChanges();
    return committed;
}

bool Context::RollbackChanges() {
    GetLibLogFacility().Log(L"'RollbackChanges'", kLogRoutine);
    for (auto& entry : registry_) {
        const auto& reader = DataOf(entry).reader;
        if (reader && reader->HasChanges()) {
            reader->RollbackChanges();
        }
    }
    ClearChanges();
    return listener_->Rollback();
}

bool Context::HasChanges() const {
    for (const auto& entry : registry_) {
        const auto& reader = DataOf(entry).reader;
        if (reader && reader->HasChanges()) {
            return true;
        }
    }
    return false;
}

Context::Change Context::GetRulesChanges() const {
    return rulesChangeOfCreation_ ? rulesChangeOfCreation_ : rulesChange_;
}

Context::Change Context::GetNamedObjectsChanges() const {
    return namedObjectsChangeOfCreation_ ? namedObjectsChangeOfCreation_ : namedObjectsChange_;
}

void Context::SetRulesChange(RuleType type, FwObjectState state, bool both) {
    rulesChange_ = std::make_pair(static_cast<int>(type), state);
    if (both) {
        rulesChangeOfCreation_ = rulesChange_;
    }
}

void Context::ClearChanges() {
    rulesChange_.reset();
    rulesChangeOfCreation_.reset();
    namedObjectsChange_.reset();
    namedObjectsChangeOfCreation_.reset();
}

}  // namespace fwcommon
