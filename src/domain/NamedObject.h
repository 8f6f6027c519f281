#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>

#include <fwcommon/INamedObject.h>
#include <fwcommon/ListenerRegistry.h>
#include <fwcommon/export.h>

namespace fwcommon {

// What the five kinds of named object share: name, description, the two
// lists, parameter ids, identifier, listeners, initial name and creation
// type, and every operation of INamedObject. A kind adds its
// NamedObjectType, a blank item of its item class (for CopyElement) and
// its item factories.
//
// Identifiers come from the process-wide generator of named-object
// internal numbers: drawn from it by the first constructor, marked busy
// there by the second. The object never gives its number back.
class NamedObject : public virtual INamedObject {
public:
    ~NamedObject() override;

    // IDomainObject
    void AddListener(const std::shared_ptr<IDomainObjectListener>& listener) override;
    void RemoveListener(const std::shared_ptr<IDomainObjectListener>& listener) override;
    const std::uint32_t& GetIdentifier() const override { return identifier_; }
    CreationType GetCreationType() const override { return creationType_; }
    const std::wstring& GetName() const override { return name_; }
    DomainObjectType GetDomainObjectType() const override { return eNamedObject; }
    void NotifyChanged() override;

    // INamedItem
    std::wstring GetName() override { return name_; }
    std::set<int> GetParamIds() const override { return paramIds_; }
    std::wstring GetParam(int paramId) const override;
    std::int32_t GetItemKind() const override { return eNamedObjectItem; }
    bool IsEqual(const std::shared_ptr<INamedItem>& other) const override;

    // INamedObject
    const std::wstring& GetDescription() const override { return description_; }
    void SetDescription(const std::wstring& description) override;
    void SetName(const std::wstring& name) override;
    bool AddSystemObject(std::uint32_t list, SystemObjectTypes type) override;
    bool AddNamedObject(std::uint32_t list, const std::shared_ptr<INamedObject>& object) override;
    bool AddElement(std::uint32_t list,
                    const std::shared_ptr<INamedObjectElement>& element) override;
    bool ContainsItem(std::uint32_t list, const std::shared_ptr<INamedItem>& item) const override;
    std::shared_ptr<NamedItemList> GetInclusions() const override;
    std::shared_ptr<NamedItemList> GetExclusions() const override;
    bool RemoveItem(std::uint32_t list, const std::shared_ptr<INamedItem>& item) override;
    bool MoveItem(std::uint32_t targetList, const std::shared_ptr<INamedItem>& item) override;
    bool UpdateElement(std::uint32_t list, const std::shared_ptr<INamedObjectElement>& element,
                       std::uint32_t elementIdentifier) override;
    std::shared_ptr<INamedObjectElement> CopyElement(
        const std::shared_ptr<INamedObjectElement>& element) const override;
    void AssignFrom(const std::shared_ptr<INamedObject>& object) override;

    class ElementBatch;

    // The name before the first SetName; empty until then.
    const std::wstring& GetInitialName() const { return initialName_; }

    // Takes every entry that is the named object of that identifier,
    // creation type and kind out of both lists, notifying once; true when
    // one was taken out.
    bool RemoveEntriesNaming(const INamedObject& object);

protected:
    // Draws a new internal number.
    NamedObject(const std::wstring& name, const std::wstring& description,
                CreationType creationType);
    // Uses the given internal number and marks it busy.
    NamedObject(std::uint32_t identifier, CreationType creationType, const std::wstring& name,
                const std::wstring& description);

    // A blank item of the kind's item class, with a new item identifier.
    virtual std::shared_ptr<INamedObjectElement> NewElement() const = 0;

private:
    NamedItemList& List(std::uint32_t index, const char* function);
    const NamedItemList& List(std::uint32_t index, const char* function) const;
    bool HoldsEqual(const NamedItemList& list, const std::shared_ptr<INamedItem>& item,
                    const INamedItem* except) const;
    void Append(std::uint32_t list, std::shared_ptr<INamedItem> item);
    // Counts the entry in, or out of, the references of list when it is a
    // named object.
    void CountIn(std::uint32_t list, const std::shared_ptr<INamedItem>& entry);
    void CountOut(std::uint32_t list, const std::shared_ptr<INamedItem>& entry);
    void RecountReferences();

    std::wstring name_;
    std::wstring description_;
    std::array<NamedItemList, 2> lists_;
    // How many entries of each list name each object identity, kept with
    // every change of the lists, so that AddNamedObject does not scan a
    // group of many references. Identities never change, unlike elements,
    // which can be assigned to in place.
    std::array<std::map<IdentifierWithType, std::size_t>, 2> references_;
    std::set<int> paramIds_;
    std::uint32_t identifier_;
    ListenerRegistry listeners_;
    std::wstring initialName_;
    CreationType creationType_;
};

// Adds many elements to one object, each as AddElement does, without a
// scan of both lists per element: the entries held are found by their
// EqualityHash. While the batch lives nothing may take entries out of the
// object or change its elements; other entries may be added (a load
// filling an object it has just made).
class NamedObject::ElementBatch {
public:
    explicit ElementBatch(NamedObject& object);

    // As AddElement.
    bool Add(std::uint32_t list, const std::shared_ptr<INamedObjectElement>& element);

private:
    NamedObject& object_;
    // The elements of both lists by EqualityHash; the lists keep them alive.
    std::unordered_multimap<std::size_t, const INamedItem*> held_;
    // False once a list holds an element that has no EqualityHash: from
    // then on every Add goes the slow way.
    bool hashed_ = true;
};

}  // namespace fwcommon
