#pragma once

#include <cstdint>
#include <memory>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/export.h>

namespace fwcommon {

class IDomainObject;

// Receives the changes of domain objects. Domain objects call
// ObjectModified from NotifyChanged; the document store also calls
// ObjectAdded and ObjectRemoved, and the Context runs Commit and Rollback.
// Callers hold listeners by shared pointer; a domain object keeps each
// registered listener alive until it is removed or the object dies.
// Called on the thread that uses the object that reports the change.
class FWCOMMON_EXPORT IDomainObjectListener {
public:
    IDomainObjectListener() = default;
    IDomainObjectListener(const IDomainObjectListener&) = default;
    IDomainObjectListener& operator=(const IDomainObjectListener&) = default;

    // The object of the given family and identifier changed.
    virtual void ObjectModified(DomainObjectType type, std::uint32_t identifier) = 0;
    // An object was added; the listener may keep the pointer.
    virtual void ObjectAdded(const std::shared_ptr<IDomainObject>& object) = 0;
    // The object of the given family and identifier was removed.
    virtual void ObjectRemoved(DomainObjectType type, std::uint32_t identifier) = 0;
    // Pending changes become permanent; true on success.
    virtual bool Commit() = 0;
    // Pending changes are dropped; true on success.
    virtual bool Rollback() = 0;
    virtual ~IDomainObjectListener();
};

}  // namespace fwcommon
