#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <fwcommon/Context.h>
#include <fwcommon/DomainTypes.h>
#include <fwcommon/IContextDomainObjectListener.h>

namespace fwcommon {

class Context;
class IDomainObject;
class INamedObject;

// The one listener a Context attaches to the domain objects it hands out
// and keeps, and to which it hands its own change announcements. It keeps
// the pending changes per dataname until the next commit or rollback and
// raises the Context's signals.
//
// Holds a plain pointer back to its Context, which owns it. Objects handed
// out may outlive the Context and keep the listener alive: the Context
// calls Detach when it goes, after which every notification is ignored and
// Commit and Rollback do nothing but succeed. Used on the Context's thread.
class PrivateObjectListener : public IContextDomainObjectListener,
                              public std::enable_shared_from_this<PrivateObjectListener> {
public:
    explicit PrivateObjectListener(Context& context);
    PrivateObjectListener(const PrivateObjectListener&) = delete;
    PrivateObjectListener& operator=(const PrivateObjectListener&) = delete;

    // The listener the Context attaches to one domain object in its place:
    // it hands the object's notifications on together with the object, so
    // that they are announced under the document that holds that very
    // object. It holds this listener weakly and falls silent when it goes.
    std::shared_ptr<IDomainObjectListener> ListenerFor(const IDomainObject& object);
    // Takes the listener of ListenerFor off the object, if it has one.
    void DetachFrom(IDomainObject& object);

    // From domain objects and stores that hold this listener itself: the
    // dataname is that of the first document whose kept named objects hold
    // the identifier (for a rule: whose rules do); an object in no document
    // is ignored.
    void ObjectModified(DomainObjectType type, std::uint32_t identifier) override;
    void ObjectAdded(const std::shared_ptr<IDomainObject>& object) override;
    void ObjectRemoved(DomainObjectType type, std::uint32_t identifier) override;
    // Both always succeed.
    bool Commit() override;
    bool Rollback() override;

    void DomainObjectModified(const std::wstring& dataname, DomainObjectType type,
                              CreationType creationType, unsigned long identifier) override;
    void DomainObjectAdded(const std::wstring& dataname,
                           const std::shared_ptr<IDomainObject>& object) override;
    void DomainObjectRemoved(const std::wstring& dataname, DomainObjectType type,
                             CreationType creationType, unsigned long identifier) override;

    // Notes the kept named object as modified in the document of the
    // dataname and announces it.
    void NamedObjectModified(const std::wstring& dataname,
                             const std::shared_ptr<INamedObject>& object);

    // Notes a named object as removed from the document of the dataname,
    // so that a rollback puts it back, without announcing anything.
    void NoteNamedObjectRemoved(const std::wstring& dataname,
                                const std::shared_ptr<INamedObject>& object);

    // Forgets the Context; called by its destructor.
    void Detach();

    // The named object modified last since the last commit or rollback.
    const std::shared_ptr<INamedObject>& LastModifiedNamedObject() const { return lastModified_; }

private:
    class ObjectListener;

    struct Located {
        std::wstring dataname;
        CreationType creationType = Generated;
        std::shared_ptr<IDomainObject> object;
    };
    // The first document holding an object of the family and identifier.
    bool Locate(DomainObjectType type, std::uint32_t identifier, Located& found) const;
    // The document holding the object itself (a rule: else a rule of its
    // identifier and creation type).
    bool Locate(const IDomainObject& object, Located& found) const;
    void ObjectModifiedBy(const IDomainObject& object);
    void ObjectRemovedBy(const IDomainObject& object);
    void ForgetSilentListeners();
    std::shared_ptr<INamedObject> KeptNamedObject(const std::wstring& dataname,
                                                  IdentifierWithType id) const;
    std::vector<std::shared_ptr<INamedObject>> CommitDocuments();
    void RollBackAdditions();
    std::vector<std::shared_ptr<INamedObject>> RestoreNamedObjects();
    std::shared_ptr<INamedObject> RestoredObject(
        const Context::RegistryEntry& entry, const std::shared_ptr<INamedObject>& removed) const;
    void NoteRemovalAnnounced(const std::wstring& dataname, IdentifierWithType id);
    void Forget();

    std::map<std::wstring, std::vector<std::shared_ptr<INamedObject>>> modified_;
    std::map<std::wstring, std::vector<std::shared_ptr<IDomainObject>>> added_;
    // The removed named objects themselves.
    std::map<std::wstring, std::vector<std::shared_ptr<INamedObject>>> removed_;
    std::shared_ptr<INamedObject> lastModified_;
    std::unordered_map<const IDomainObject*, std::weak_ptr<ObjectListener>> objectListeners_;
    std::size_t silentListenerCheck_ = 0;
    Context* context_;
};

}  // namespace fwcommon
