#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/IDomainObjectListener.h>
#include <fwcommon/export.h>

namespace fwcommon {

// The listeners of one domain object, in registration order. Every
// implementation of IDomainObject keeps one and forwards AddListener,
// RemoveListener and NotifyChanged to it.
//
// The registry owns a shared reference to each listener. Listeners are
// told apart by the identity of the object they point to. A copy of the
// registry shares the listeners (each copy holds its own references).
// No locks: the thread that uses the owning object uses the registry.
class FWCOMMON_EXPORT ListenerRegistry {
public:
    // Appends the listener unless the same object is registered already.
    // Throws std::invalid_argument for an empty pointer.
    void Add(const std::shared_ptr<IDomainObjectListener>& listener);
    // Erases the entry of the same object; an unknown listener is ignored.
    void Remove(const std::shared_ptr<IDomainObjectListener>& listener);
    // Calls ObjectModified(type, identifier) on every listener in
    // registration order. Works on a snapshot of the list, so a listener
    // may add or remove listeners while it is called; those changes take
    // effect from the next notification. A listener's exception propagates
    // and the listeners after it are not called.
    void NotifyModified(DomainObjectType type, std::uint32_t identifier) const;

    bool Contains(const IDomainObjectListener* listener) const;
    std::size_t Size() const { return listeners_.size(); }
    bool Empty() const { return listeners_.empty(); }

private:
    std::vector<std::shared_ptr<IDomainObjectListener>> listeners_;
};

}  // namespace fwcommon
