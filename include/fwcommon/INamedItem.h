#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/export.h>

namespace fwcommon {

// Root of everything that can be an entry of a named object or be named by
// a rule condition: named objects, system objects and named-object items.
// Held by shared pointer. Not derived from IDomainObject: named objects
// derive from both (virtually). GetName is non-const here and const in
// IDomainObject on purpose, so that a class implementing both can return
// the name by value here and by reference there; such a class brings both
// into scope (using IDomainObject::GetName; using INamedItem::GetName;).
// Objects take no locks: one thread at a time uses an item.
class FWCOMMON_EXPORT INamedItem {
public:
    INamedItem() = default;
    INamedItem(const INamedItem&) = default;
    INamedItem& operator=(const INamedItem&) = default;

    virtual const std::uint32_t& GetIdentifier() const = 0;
    virtual std::wstring GetName() = 0;
    // The parameter identifiers that GetParam answers for this item.
    virtual std::set<int> GetParamIds() const = 0;
    // A parameter's text; what unknown identifiers give depends on the
    // kind of item (items throw, named objects give an empty string).
    virtual std::wstring GetParam(int paramId) const = 0;
    // A NamedItemKind code.
    virtual std::int32_t GetItemKind() const = 0;
    // Equal only when both have the same item kind; the rest is
    // kind-specific.
    virtual bool IsEqual(const std::shared_ptr<INamedItem>& other) const = 0;
    virtual ~INamedItem();
};

}  // namespace fwcommon
