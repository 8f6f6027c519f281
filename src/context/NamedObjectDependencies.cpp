#include <fwcommon/NamedObjectDependencies.h>

#include <algorithm>
#include <deque>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include <fwcommon/INamedObject.h>

namespace fwcommon {

namespace {

using Key = std::pair<std::uint32_t, CreationType>;

Key KeyOf(const INamedObject& object) {
    return Key(object.GetIdentifier(), object.GetCreationType());
}

// The containment graph reversed: for each object, the objects that hold it
// in their inclusions or exclusions. Listed objects stand for every entry
// of their identity; entries not listed are examined through their own
// lists.
class HoldersGraph {
public:
    void AddListed(const std::shared_ptr<INamedObject>& object) {
        if (Add(object)) {
            listed_.insert(KeyOf(*object));
        }
    }

    bool IsListed(const Key& key) const { return listed_.count(key) != 0; }

    void Build() {
        while (!pending_.empty()) {
            const auto holder = pending_.front();
            pending_.pop_front();
            AddEntries(*holder, holder->GetInclusions());
            AddEntries(*holder, holder->GetExclusions());
        }
    }

    // Every object from which target is reached through one entry or more.
    std::vector<Key> HoldersOf(const Key& target) const {
        std::set<Key> examined{target};
        std::vector<Key> found;
        std::deque<Key> queue{target};
        while (!queue.empty()) {
            const auto holders = holders_.find(queue.front());
            queue.pop_front();
            if (holders == holders_.end()) {
                continue;
            }
            for (const Key& holder : holders->second) {
                if (std::find(found.begin(), found.end(), holder) == found.end()) {
                    found.push_back(holder);
                }
                if (examined.insert(holder).second) {
                    queue.push_back(holder);
                }
            }
        }
        return found;
    }

private:
    bool Add(const std::shared_ptr<INamedObject>& object) {
        if (object && objects_.emplace(KeyOf(*object), object).second) {
            pending_.push_back(object);
            return true;
        }
        return false;
    }

    void AddEntries(const INamedObject& holder, const std::shared_ptr<NamedItemList>& entries) {
        if (!entries) {
            return;
        }
        for (const auto& entry : *entries) {
            if (!entry || entry->GetItemKind() != eNamedObjectItem) {
                continue;
            }
            const auto object = std::dynamic_pointer_cast<INamedObject>(entry);
            if (!object) {
                continue;
            }
            holders_[KeyOf(*object)].insert(KeyOf(holder));
            Add(object);
        }
    }

    std::map<Key, std::shared_ptr<INamedObject>> objects_;
    std::set<Key> listed_;
    std::map<Key, std::set<Key>> holders_;
    std::deque<std::shared_ptr<INamedObject>> pending_;
};

}  // namespace

void DetermineNamedObjectDependencies(
    const std::shared_ptr<INamedObject>& object,
    std::shared_ptr<const std::vector<std::shared_ptr<INamedObject>>> objects,
    std::set<unsigned long>& result) {
    if (!object || !objects) {
        return;
    }
    HoldersGraph graph;
    for (const auto& listed : *objects) {
        if (listed && listed->GetItemKind() == object->GetItemKind()) {
            graph.AddListed(listed);
        }
    }
    graph.Build();
    for (const Key& holder : graph.HoldersOf(KeyOf(*object))) {
        if (graph.IsListed(holder)) {
            result.insert(holder.first);
        }
    }
}

}  // namespace fwcommon
