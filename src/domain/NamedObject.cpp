#include "domain/NamedObject.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include <fwcommon/ItemParameters.h>
#include <fwcommon/StringUtilities.h>
#include "domain/HashedNamedItem.h"
#include "domain/NamedObjectNumbers.h"
#include "domain/NamedObjectSearch.h"
#include "domain/SystemObject.h"

namespace fwcommon {

INamedObject::~INamedObject() = default;

namespace {

const std::set<int> kNamedObjectParamIds{kParamDisplayText, kParamDescription};

}  // namespace

NamedObject::NamedObject(const std::wstring& name, const std::wstring& description,
                         CreationType creationType)
    : NamedObject(GenerateNamedObjectNumber(), creationType, name, description) {}

NamedObject::NamedObject(std::uint32_t identifier, CreationType creationType,
                         const std::wstring& name, const std::wstring& description)
    : name_(name),
      description_(description),
      paramIds_(kNamedObjectParamIds),
      identifier_(identifier),
      creationType_(creationType) {
    MarkNamedObjectNumberBusy(identifier);
}

NamedObject::~NamedObject() = default;

void NamedObject::AddListener(const std::shared_ptr<IDomainObjectListener>& listener) {
    listeners_.Add(listener);
}

void NamedObject::RemoveListener(const std::shared_ptr<IDomainObjectListener>& listener) {
    listeners_.Remove(listener);
}

void NamedObject::NotifyChanged() {
    listeners_.NotifyModified(GetDomainObjectType(), GetIdentifier());
}

std::wstring NamedObject::GetParam(int paramId) const {
    switch (paramId) {
        case kParamDisplayText:
            return name_;
        case kParamObjectIdentifier:
            return std::to_wstring(identifier_);
        case kParamDescription:
            return description_;
        default:
            return std::wstring();
    }
}

bool NamedObject::IsEqual(const std::shared_ptr<INamedItem>& other) const {
    const INamedObject* object = AsNamedObject(other);
    return object != nullptr && object->GetName() == name_ &&
           object->GetNamedObjectType() == GetNamedObjectType();
}

void NamedObject::SetDescription(const std::wstring& description) {
    description_ = description;
    NotifyChanged();
}

void NamedObject::SetName(const std::wstring& name) {
    if (initialName_.empty()) {
        initialName_ = name_;
    }
    name_ = name;
    NotifyChanged();
}

NamedItemList& NamedObject::List(std::uint32_t index, const char* function) {
    return const_cast<NamedItemList&>(std::as_const(*this).List(index, function));
}

const NamedItemList& NamedObject::List(std::uint32_t index, const char* function) const {
    if (index >= lists_.size()) {
        throw std::out_of_range(StringUtilities::GetErrorString(
            function, "List index " + std::to_string(index) + " is neither 0 nor 1"));
    }
    return lists_[index];
}

bool NamedObject::HoldsEqual(const NamedItemList& list, const std::shared_ptr<INamedItem>& item,
                             const INamedItem* except) const {
    return std::any_of(list.begin(), list.end(), [&](const std::shared_ptr<INamedItem>& entry) {
        return entry.get() != except && entry->IsEqual(item);
    });
}

void NamedObject::Append(std::uint32_t list, std::shared_ptr<INamedItem> item) {
    CountIn(list, item);
    lists_[list].push_back(std::move(item));
    NotifyChanged();
}

void NamedObject::CountIn(std::uint32_t list, const std::shared_ptr<INamedItem>& entry) {
    if (const INamedObject* named = AsNamedObject(entry))
        ++references_[list][IdentityOf(*named)];
}

void NamedObject::CountOut(std::uint32_t list, const std::shared_ptr<INamedItem>& entry) {
    const INamedObject* named = AsNamedObject(entry);
    if (named == nullptr)
        return;
    const auto counted = references_[list].find(IdentityOf(*named));
    if (counted != references_[list].end() && --counted->second == 0)
        references_[list].erase(counted);
}

void NamedObject::RecountReferences() {
    for (std::uint32_t list = 0; list < lists_.size(); ++list) {
        references_[list].clear();
        for (const auto& entry : lists_[list])
            CountIn(list, entry);
    }
}

bool NamedObject::AddSystemObject(std::uint32_t list, SystemObjectTypes type) {
    NamedItemList& target = List(list, "fwcommon::NamedObject::AddSystemObject");
    const std::wstring text = StringUtilities::GetSystemType(type);
    for (const auto& entry : target) {
        if (entry->GetItemKind() == eSystemObjectItem &&
            entry->GetParam(kParamDisplayText) == text) {
            return false;
        }
    }
    Append(list, std::make_shared<SystemObject>(type));
    return true;
}

bool NamedObject::AddNamedObject(std::uint32_t list, const std::shared_ptr<INamedObject>& object) {
    List(list, "fwcommon::NamedObject::AddNamedObject");
    if (!object) {
        return false;
    }
    const IdentifierWithType added = IdentityOf(*object);
    if (references_[list].count(added) > 0) {
        return false;
    }
    // Neither the object itself nor one that refers to it, however deep.
    const IdentifierWithType self = IdentityOf(*this);
    if (added == self || ContainsNamedObject(*object, self)) {
        return false;
    }
    Append(list, object);
    return true;
}

bool NamedObject::AddElement(std::uint32_t list,
                             const std::shared_ptr<INamedObjectElement>& element) {
    NamedItemList& target = List(list, "fwcommon::NamedObject::AddElement");
    if (!element || HoldsEqual(target, element, nullptr) ||
        HoldsEqual(lists_[1 - list], element, nullptr)) {
        return false;
    }
    Append(list, element);
    return true;
}

bool NamedObject::ContainsItem(std::uint32_t list, const std::shared_ptr<INamedItem>& item) const {
    const NamedItemList& searched = List(list, "fwcommon::NamedObject::ContainsItem");
    if (!item) {
        return false;
    }
    return std::any_of(
        searched.begin(), searched.end(),
        [&](const std::shared_ptr<INamedItem>& entry) { return item->IsEqual(entry); });
}

std::shared_ptr<NamedItemList> NamedObject::GetInclusions() const {
    return std::make_shared<NamedItemList>(lists_[0]);
}

std::shared_ptr<NamedItemList> NamedObject::GetExclusions() const {
    return std::make_shared<NamedItemList>(lists_[1]);
}

bool NamedObject::RemoveItem(std::uint32_t list, const std::shared_ptr<INamedItem>& item) {
    NamedItemList& target = List(list, "fwcommon::NamedObject::RemoveItem");
    if (!item) {
        return false;
    }
    const std::uint32_t identifier = item->GetIdentifier();
    const auto found =
        std::find_if(target.begin(), target.end(), [&](const std::shared_ptr<INamedItem>& entry) {
            return entry->GetIdentifier() == identifier;
        });
    if (found == target.end()) {
        return false;
    }
    CountOut(list, *found);
    target.erase(found);
    NotifyChanged();
    return true;
}

bool NamedObject::RemoveEntriesNaming(const INamedObject& object) {
    auto naming = [&object](const std::shared_ptr<INamedItem>& entry) {
        const auto* named = dynamic_cast<const INamedObject*>(entry.get());
        return named && named->GetIdentifier() == object.GetIdentifier() &&
               named->GetCreationType() == object.GetCreationType() &&
               named->GetNamedObjectType() == object.GetNamedObjectType();
    };
    bool removed = false;
    for (NamedItemList& list : lists_) {
        const auto kept = std::remove_if(list.begin(), list.end(), naming);
        removed = removed || kept != list.end();
        list.erase(kept, list.end());
    }
    if (removed) {
        RecountReferences();
        NotifyChanged();
    }
    return removed;
}

bool NamedObject::MoveItem(std::uint32_t targetList, const std::shared_ptr<INamedItem>& item) {
    List(targetList, "fwcommon::NamedObject::MoveItem");
    NamedItemList& source = lists_[1 - targetList];
    const auto found = std::find(source.begin(), source.end(), item);
    if (!item || found == source.end()) {
        return false;
    }
    CountOut(1 - targetList, item);
    source.erase(found);
    Append(targetList, item);
    return true;
}

bool NamedObject::UpdateElement(std::uint32_t list,
                                const std::shared_ptr<INamedObjectElement>& element,
                                std::uint32_t elementIdentifier) {
    NamedItemList& target = List(list, "fwcommon::NamedObject::UpdateElement");
    const auto found =
        std::find_if(target.begin(), target.end(), [&](const std::shared_ptr<INamedItem>& entry) {
            return entry->GetItemKind() == eElementItem &&
                   entry->GetIdentifier() == elementIdentifier;
        });
    if (!element || found == target.end() || HoldsEqual(target, element, found->get()) ||
        HoldsEqual(lists_[1 - list], element, nullptr)) {
        return false;
    }
    CountOut(list, *found);
    *found = element;
    CountIn(list, *found);
    NotifyChanged();
    return true;
}

std::shared_ptr<INamedObjectElement> NamedObject::CopyElement(
    const std::shared_ptr<INamedObjectElement>& element) const {
    std::shared_ptr<INamedObjectElement> copy = NewElement();
    copy->Assign(element.get());
    return copy;
}

void NamedObject::AssignFrom(const std::shared_ptr<INamedObject>& object) {
    if (!object || object.get() == static_cast<const INamedObject*>(this)) {
        return;
    }
    name_ = static_cast<const INamedObject&>(*object).GetName();
    description_ = object->GetDescription();
    lists_[0] = *object->GetInclusions();
    lists_[1] = *object->GetExclusions();
    RecountReferences();
    paramIds_ = object->GetParamIds();
    const auto* same = dynamic_cast<const NamedObject*>(object.get());
    initialName_ = same != nullptr ? same->initialName_ : std::wstring();
}

NamedObject::ElementBatch::ElementBatch(NamedObject& object) : object_(object) {
    for (const NamedItemList& list : object_.lists_) {
        for (const auto& entry : list) {
            if (entry->GetItemKind() != eElementItem)
                continue;
            const auto* hashed = dynamic_cast<const HashedNamedItem*>(entry.get());
            if (hashed == nullptr)
                hashed_ = false;
            else
                held_.emplace(hashed->EqualityHash(), entry.get());
        }
    }
}

bool NamedObject::ElementBatch::Add(std::uint32_t list,
                                    const std::shared_ptr<INamedObjectElement>& element) {
    const auto* hashed = dynamic_cast<const HashedNamedItem*>(element.get());
    if (!hashed_ || hashed == nullptr) {
        // An element without a hash, once held, could equal any later one.
        const bool added = object_.AddElement(list, element);
        hashed_ = hashed_ && !(added && hashed == nullptr);
        return added;
    }
    object_.List(list, "fwcommon::NamedObject::ElementBatch::Add");
    const std::size_t hash = hashed->EqualityHash();
    const auto [first, last] = held_.equal_range(hash);
    for (auto held = first; held != last; ++held) {
        if (held->second->IsEqual(element))
            return false;
    }
    object_.Append(list, element);
    held_.emplace(hash, element.get());
    return true;
}

}  // namespace fwcommon
