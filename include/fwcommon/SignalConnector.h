#pragma once

#include <memory>
#include <string>
#include <vector>

#include <boost/signals2/signal.hpp>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/export.h>

namespace fwcommon {

class IDomainObject;
class INamedObject;

// The notification signals of a policy workspace, and the commit and
// rollback that every workspace offers. Context derives from it.
//
// Hosts connect to the signals directly. Each signal has its own mutex (the
// boost::signals2 default), so connecting and raising may happen on
// different threads; slots run on the thread that raises the signal. A
// signal's result is the value of the last slot called (optional: empty
// when no slot is connected). The destructor disconnects every slot.
class FWCOMMON_EXPORT SignalConnector {
public:
    using ObjectAddedSignal = boost::signals2::signal<void(
        const std::wstring& dataname, const std::shared_ptr<IDomainObject>& object)>;
    using ObjectChangedSignal =
        boost::signals2::signal<void(const std::wstring& dataname, DomainObjectType type,
                                     CreationType creationType, unsigned long identifier)>;
    using NoticeSignal = boost::signals2::signal<void()>;
    using NamedObjectsSignal =
        boost::signals2::signal<void(const std::vector<std::shared_ptr<INamedObject>>& objects)>;
    using QuerySignal = boost::signals2::signal<bool()>;

    SignalConnector();
    SignalConnector(const SignalConnector&) = delete;
    SignalConnector& operator=(const SignalConnector&) = delete;
    virtual ~SignalConnector();

    // Drops the pending changes of every document; true on success.
    virtual bool RollbackChanges() = 0;
    // Makes the pending changes of every document permanent; true on success.
    virtual bool CommitChanges() = 0;

    // A rule or named object was added to a document (CreateRule,
    // CreateNatRule, CreateNamedObject, UpdateNamedObject of an object new
    // to the document, MarkDomainObjectAsAdded).
    ObjectAddedSignal objectAdded;
    // A domain object of a document was modified: a rule (32), a named
    // object (16), the section as a whole after ChangeRulePriority (32,
    // User, 0), an option (256, its creation type, 4294967295). Also raised
    // by a rollback for every named object it puts back.
    ObjectChangedSignal objectModified;
    // A domain object was removed from a document (RemoveRule, the
    // removals of named objects except RemoveNamedObjectById); a rollback
    // raises it for every addition it takes back.
    ObjectChangedSignal objectRemoved;
    // Changes are being committed (every CommitChanges).
    NoticeSignal committing;
    // After committing, when named objects were changed: every named
    // object of the named-objects document and of the documents of its
    // creation type.
    NamedObjectsSignal namedObjectsCommitted;
    // Changes are being rolled back (every RollbackChanges).
    NoticeSignal rollingBack;
    // After rolling back: the named objects put back and those whose
    // modifications were dropped (possibly none).
    NamedObjectsSignal namedObjectsRolledBack;
    // The last three belong to the host: the library never raises them
    // and gives them no meaning. A host may use them between its own
    // components (a query answered by the last slot, and two notices).
    QuerySignal hostQuery;
    NoticeSignal hostNotice;
    NoticeSignal hostReset;
};

}  // namespace fwcommon
