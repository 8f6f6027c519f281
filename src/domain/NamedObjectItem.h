#pragma once

#include <cstdint>
#include <initializer_list>
#include <set>

#include <fwcommon/INamedObjectElement.h>
#include "domain/HashedNamedItem.h"
#include "domain/ItemCore.h"

namespace fwcommon {

// What the items of every kind of named object share: the item core (the
// item identifier and the parameter ids GetParam answers) and the overrides
// that only read it, with the element type the kind reports (Type). Each
// kind adds its name, parameters, comparison (IsEqual and the
// EqualityHash that agrees with it) and assignment. Items are
// used by one thread at a time.
template <NamedObjectType Type>
class NamedObjectItem : public INamedObjectElement, public HashedNamedItem {
public:
    const std::uint32_t& GetIdentifier() const override { return core_.identifier; }
    std::set<int> GetParamIds() const override { return core_.paramIds; }
    std::int32_t GetItemKind() const override { return eElementItem; }
    NamedObjectType GetElementType() const override { return Type; }

protected:
    // Takes the next item identifier; GetParam answers the given ids.
    explicit NamedObjectItem(std::initializer_list<int> paramIds) : core_(paramIds) {}

    ItemCore core_;
};

}  // namespace fwcommon
