#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/IDomainObjectListener.h>
#include <fwcommon/export.h>

namespace fwcommon {

// Root of rules and named objects. Every domain object lives on the heap
// behind a shared pointer; the last owner destroys it through this
// interface. Listeners are held by shared pointer, each at most once (see
// ListenerRegistry). The operations report no errors. Objects take no
// locks: one thread at a time uses an object.
//
// GetName is a const operation here and a non-const one in INamedItem,
// so that named objects, which implement both, can return the name by
// reference through this interface and by value through the other.
class FWCOMMON_EXPORT IDomainObject {
public:
    IDomainObject() = default;
    IDomainObject(const IDomainObject&) = default;
    IDomainObject& operator=(const IDomainObject&) = default;

    // Registers a listener unless the same listener object is registered.
    virtual void AddListener(const std::shared_ptr<IDomainObjectListener>& listener) = 0;
    // Releases a registered listener; an unknown one is ignored.
    virtual void RemoveListener(const std::shared_ptr<IDomainObjectListener>& listener) = 0;
    // The identifier, unique within the creation type; the reference stays
    // valid as long as the object.
    virtual const std::uint32_t& GetIdentifier() const = 0;
    virtual CreationType GetCreationType() const = 0;
    virtual const std::wstring& GetName() const = 0;
    // eNamedObject (16) or eRule (32).
    virtual DomainObjectType GetDomainObjectType() const = 0;
    virtual ~IDomainObject();
    // Calls ObjectModified(GetDomainObjectType(), GetIdentifier()) on every
    // registered listener in registration order.
    virtual void NotifyChanged() = 0;
};

}  // namespace fwcommon
