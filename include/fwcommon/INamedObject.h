#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/IDomainObject.h>
#include <fwcommon/INamedItem.h>
#include <fwcommon/INamedObjectElement.h>
#include <fwcommon/export.h>

namespace fwcommon {

// The entries of one list of a named object, shared with the object.
using NamedItemList = std::vector<std::shared_ptr<INamedItem>>;

// A reusable, named set of addresses, interfaces, VPN hosts, services or
// time spans that rules refer to. It holds two ordered lists of entries,
// addressed by a list index: 0 the inclusions, 1 the exclusions. An entry is
// an item of the object's own kind, a system object or another named
// object; entries are shared, so the same entry may stand in several
// objects. An index other than 0 or 1 throws std::out_of_range.
//
// Identity: GetIdentifier is the object's internal number, unique within
// its creation type; GetDomainObjectType is eNamedObject (16) and
// GetItemKind eNamedObjectItem (1). Two named objects are equal (IsEqual)
// when they are of the same NamedObjectType and have the same name; the
// identifiers are not compared. GetParamIds is {0, 35}; GetParam answers 0
// with the name, 34 with the identifier in decimal and 35 with the
// description, and any other id with an empty string.
//
// The name through both roots: IDomainObject::GetName is a const operation
// returning a reference, INamedItem::GetName a non-const one returning a
// value. The two are different signatures, so one class overrides both and
// both read the same name. This interface declares both again, so a call
// through INamedObject (or a kind interface) is not ambiguous: on a const
// object it returns the reference, on a non-const one the value. Calls
// through IDomainObject or INamedItem reach the same name.
//
// Changes (SetName, SetDescription and the list operations that change a
// list) call NotifyChanged, which tells every listener
// (eNamedObject, identifier). AssignFrom does not notify. The operations
// report refusals by returning false; they throw only for a bad list index
// and, in AddSystemObject, std::out_of_range for a type outside 0..14.
// One thread at a time uses an object.
class FWCOMMON_EXPORT INamedObject : public virtual IDomainObject, public virtual INamedItem {
public:
    INamedObject() = default;
    INamedObject(const INamedObject&) = default;
    INamedObject& operator=(const INamedObject&) { return *this; }
    ~INamedObject() override;

    const std::uint32_t& GetIdentifier() const override = 0;
    const std::wstring& GetName() const override = 0;
    std::wstring GetName() override = 0;

    virtual NamedObjectType GetNamedObjectType() const = 0;
    virtual const std::wstring& GetDescription() const = 0;
    virtual void SetDescription(const std::wstring& description) = 0;
    // Renames the object; the name it had before its first rename is kept
    // by the implementation as its initial name.
    virtual void SetName(const std::wstring& name) = 0;
    // Appends a system object of the type unless the list already holds
    // one of that type.
    virtual bool AddSystemObject(std::uint32_t list, SystemObjectTypes type) = 0;
    // Appends another named object. Refused when it is this object (same
    // identifier and creation type), when this object is found inside it,
    // directly or through the named objects it contains, or when the list
    // already holds an object of its identifier and creation type. The
    // search visits each object once, so it ends on any graph.
    virtual bool AddNamedObject(std::uint32_t list,
                                const std::shared_ptr<INamedObject>& object) = 0;
    // Appends an item unless an equal entry stands in either list.
    virtual bool AddElement(std::uint32_t list,
                            const std::shared_ptr<INamedObjectElement>& element) = 0;
    // True when item->IsEqual(entry) for some entry of the list.
    virtual bool ContainsItem(std::uint32_t list,
                              const std::shared_ptr<INamedItem>& item) const = 0;
    // New lists sharing the entries.
    virtual std::shared_ptr<NamedItemList> GetInclusions() const = 0;
    virtual std::shared_ptr<NamedItemList> GetExclusions() const = 0;
    // Removes the first entry of the list with the item's identifier (all
    // system objects have identifier 0).
    virtual bool RemoveItem(std::uint32_t list, const std::shared_ptr<INamedItem>& item) = 0;
    // Moves the entry that is this very item from the other list to the end
    // of the target list.
    virtual bool MoveItem(std::uint32_t targetList, const std::shared_ptr<INamedItem>& item) = 0;
    // Puts element in place of the list's first item entry whose identifier
    // is elementIdentifier, unless another entry of either list equals it.
    virtual bool UpdateElement(std::uint32_t list,
                               const std::shared_ptr<INamedObjectElement>& element,
                               std::uint32_t elementIdentifier) = 0;
    // A new item of this object's item class, with a new item identifier,
    // holding the fields of element when element is of that class (else a
    // blank item). It is added to no list.
    virtual std::shared_ptr<INamedObjectElement> CopyElement(
        const std::shared_ptr<INamedObjectElement>& element) const = 0;
    // Takes name, description, lists (sharing the entries), parameter ids
    // and initial name from object; identifier, creation type and listeners
    // stay, and nobody is notified. Nothing happens when object is this
    // object or null.
    virtual void AssignFrom(const std::shared_ptr<INamedObject>& object) = 0;
};

}  // namespace fwcommon
