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

    // A domain object (rule or named object) was added to a document.
    ObjectAddedSignal objectAdded;
    // A domain object of a document was modified.
    ObjectChangedSignal objectModified;
    // A domain object was removed from a document.
    ObjectChangedSignal objectRemoved;
    // Changes are being committed.
    NoticeSignal committing;
    // The named objects concerned by a commit.
    NamedObjectsSignal namedObjectsCommitted;
    // Changes are being rolled back.
    NoticeSignal rollingBack;
    // The named objects concerned by a rollback.
    NamedObjectsSignal namedObjectsRolledBack;
    // Reserved for the host's own protocol: the library raises none of the
    // last three.
    QuerySignal hostQuery;
    NoticeSignal hostNotice;
    NoticeSignal hostReset;
};

}  // namespace fwcommon
