#pragma once

#include <memory>
#include <string>
#include <vector>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/export.h>

namespace fwcommon {

class INamedObject;

// Creates, changes, removes and lists the named objects of documents known
// by dataname. The library implements none: Context offers operations of
// the same signatures without deriving from it, and hosts implement this
// interface where they want to stand in for a Context (a remote proxy, a
// test double). Implementations decide their own failures; the contract of
// each operation is that of the Context operation of the same name.
// Lists are new vectors owned by the caller.
class FWCOMMON_EXPORT INamedObjectManager {
public:
    INamedObjectManager() = default;
    INamedObjectManager(const INamedObjectManager&) = default;
    INamedObjectManager& operator=(const INamedObjectManager&) = default;
    virtual ~INamedObjectManager();

    // A new object of the kind, or an empty pointer when the kind may not
    // be edited in the document.
    virtual std::shared_ptr<INamedObject> CreateNamedObject(const std::wstring& dataname,
                                                            const std::wstring& name,
                                                            const std::wstring& description,
                                                            NamedObjectType type) = 0;
    virtual bool UpdateNamedObject(const std::wstring& dataname,
                                   const std::shared_ptr<INamedObject>& object) = 0;
    virtual bool RemoveNamedObjectById(const std::wstring& dataname, IdentifierWithType id) = 0;
    virtual bool RemoveNamedObject(const std::wstring& dataname, CreationType creationType,
                                   const std::wstring& name) = 0;
    virtual bool RemoveNamedObject(const std::wstring& dataname, unsigned int index) = 0;
    virtual std::shared_ptr<const std::vector<std::shared_ptr<INamedObject>>> GetNamedObjects(
        const std::wstring& dataname, NamedObjectType type) const = 0;
    virtual std::shared_ptr<const std::vector<std::shared_ptr<INamedObject>>> GetNamedObjects(
        const std::wstring& dataname) const = 0;
};

}  // namespace fwcommon
