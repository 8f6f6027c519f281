#include "store/BoundRuleHandles.h"

#include <algorithm>
#include <new>
#include <unordered_set>

#include "store/RuleElements.h"

namespace fwcommon {
namespace {

bool StillBound(const std::weak_ptr<Rule>& handle) {
    const auto held = handle.lock();
    return held && held->SharedElement() != nullptr;
}

}  // namespace

void BoundRuleHandles::StartBuild() {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [](const Entry& entry) { return !StillBound(entry.handle); }),
                   entries_.end());
    firstOfBuild_ = entries_.size();
}

void BoundRuleHandles::Add(std::size_t place, const std::shared_ptr<Rule>& handle) {
    entries_.push_back({place, handle});
}

void BoundRuleHandles::FinishBuild() {
    if (firstOfBuild_ == 0) {
        return;
    }
    std::unordered_set<const Rule*> listed;
    for (std::size_t i = firstOfBuild_; i < entries_.size(); ++i) {
        listed.insert(entries_[i].handle.lock().get());
    }
    const auto earlierEnd = entries_.begin() + static_cast<std::ptrdiff_t>(firstOfBuild_);
    const auto kept = std::remove_if(entries_.begin(), earlierEnd, [&listed](const Entry& entry) {
        return listed.count(entry.handle.lock().get()) != 0;
    });
    entries_.erase(kept, earlierEnd);
    firstOfBuild_ = 0;
}

void BoundRuleHandles::MoveTo(const Sequence& rules,
                              const std::shared_ptr<const Sarvo::PolicyType>& copy) {
    const Sequence& copied = copy->Rules().Rule();
    for (Entry& entry : entries_) {
        const auto handle = entry.handle.lock();
        if (!handle || entry.place >= rules.size() ||
            handle->SharedElement() != &rules[entry.place]) {
            continue;
        }
        handle->Rebind(std::shared_ptr<const Sarvo::Rule>(copy, &copied[entry.place]));
    }
}

void BoundRuleHandles::ReturnTo(const Sarvo::PolicyType& copy,
                                const std::shared_ptr<const Sarvo::PolicyType>& document,
                                const PlaceOf& placeOf) {
    const Sequence& copied = copy.Rules().Rule();
    const Sequence& rules = document->Rules().Rule();
    std::vector<Entry> kept;
    for (Entry& entry : entries_) {
        const auto handle = entry.handle.lock();
        if (!handle || handle->SharedElement() == nullptr) {
            continue;
        }
        if (entry.place >= copied.size() || handle->SharedElement() != &copied[entry.place]) {
            kept.push_back(entry);
            continue;
        }
        const Sarvo::Rule& element = copied[entry.place];
        const std::size_t at = placeOf(element);
        if (at < rules.size() && SameRuleElement(rules[at], element)) {
            handle->Rebind(std::shared_ptr<const Sarvo::Rule>(document, &rules[at]));
            kept.push_back({at, entry.handle});
            continue;
        }
        try {
            handle->Release();
        } catch (const std::bad_alloc&) {
            // Without memory for a copy the handle keeps sharing the copy,
            // which never changes and stays alive as long as the handle.
            kept.push_back(entry);
        }
    }
    entries_ = std::move(kept);
    firstOfBuild_ = 0;
}

void BoundRuleHandles::ReturnToSamePlaces(
    const Sarvo::PolicyType& copy, const std::shared_ptr<const Sarvo::PolicyType>& document) {
    const Sequence& copied = copy.Rules().Rule();
    const Sequence& rules = document->Rules().Rule();
    for (Entry& entry : entries_) {
        const auto handle = entry.handle.lock();
        if (handle && entry.place < copied.size() && entry.place < rules.size() &&
            handle->SharedElement() == &copied[entry.place]) {
            handle->Rebind(std::shared_ptr<const Sarvo::Rule>(document, &rules[entry.place]));
        }
    }
    firstOfBuild_ = 0;
}

void BoundRuleHandles::ReleaseAll() {
    for (Entry& entry : entries_) {
        if (const auto handle = entry.handle.lock()) {
            try {
                handle->Release();
            } catch (const std::bad_alloc&) {
                // Without memory for a copy the handle keeps sharing the
                // document, which stays alive as long as the handle.
            }
        }
    }
    entries_.clear();
}

}  // namespace fwcommon
