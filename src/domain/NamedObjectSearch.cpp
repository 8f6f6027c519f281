#include "domain/NamedObjectSearch.h"

#include <set>
#include <vector>

namespace fwcommon {

IdentifierWithType IdentityOf(const INamedObject& object) {
    return IdentifierWithType(object.GetIdentifier(), object.GetCreationType());
}

const INamedObject* AsNamedObject(const std::shared_ptr<INamedItem>& entry) {
    if (!entry || entry->GetItemKind() != eNamedObjectItem) {
        return nullptr;
    }
    return dynamic_cast<const INamedObject*>(entry.get());
}

bool ContainsNamedObject(const INamedObject& container, const IdentifierWithType& wanted) {
    std::set<const INamedObject*> visited{&container};
    std::vector<const INamedObject*> pending{&container};
    while (!pending.empty()) {
        const INamedObject* current = pending.back();
        pending.pop_back();
        for (const auto& list : {current->GetInclusions(), current->GetExclusions()}) {
            for (const auto& entry : *list) {
                const INamedObject* found = AsNamedObject(entry);
                if (found == nullptr) {
                    continue;
                }
                if (IdentityOf(*found) == wanted) {
                    return true;
                }
                if (visited.insert(found).second) {
                    pending.push_back(found);
                }
            }
        }
    }
    return false;
}

}  // namespace fwcommon
