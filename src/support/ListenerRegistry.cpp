#include <fwcommon/ListenerRegistry.h>

#include <algorithm>
#include <stdexcept>

#include <fwcommon/StringUtilities.h>

namespace fwcommon {
namespace {

using ListenerList = std::vector<std::shared_ptr<IDomainObjectListener>>;

ListenerList::const_iterator Find(const ListenerList& list, const IDomainObjectListener* target) {
    return std::find_if(list.begin(), list.end(),
                        [target](const auto& entry) { return entry.get() == target; });
}

}  // namespace

void ListenerRegistry::Add(const std::shared_ptr<IDomainObjectListener>& listener) {
    if (!listener) {
        throw std::invalid_argument(
            StringUtilities::GetErrorString("fwcommon::ListenerRegistry::Add", "Empty listener"));
    }
    if (Find(listeners_, listener.get()) == listeners_.end()) {
        listeners_.push_back(listener);
    }
}

void ListenerRegistry::Remove(const std::shared_ptr<IDomainObjectListener>& listener) {
    auto found = Find(listeners_, listener.get());
    if (found != listeners_.end()) {
        listeners_.erase(found);
    }
}

void ListenerRegistry::NotifyModified(DomainObjectType type, std::uint32_t identifier) const {
    const ListenerList snapshot = listeners_;
    for (const auto& listener : snapshot) {
        listener->ObjectModified(type, identifier);
    }
}

bool ListenerRegistry::Contains(const IDomainObjectListener* listener) const {
    return Find(listeners_, listener) != listeners_.end();
}

}  // namespace fwcommon
