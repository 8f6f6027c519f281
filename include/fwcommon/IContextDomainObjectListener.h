#pragma once

#include <memory>
#include <string>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/IDomainObjectListener.h>
#include <fwcommon/export.h>

namespace fwcommon {

class IDomainObject;

// A listener that also receives changes together with the dataname of the
// document they happened in. The Context hands its change announcements
// (MarkDomainObjectAs...) to such a listener. Called on the thread that
// uses the Context; implementations need no locks of their own.
class FWCOMMON_EXPORT IContextDomainObjectListener : public IDomainObjectListener {
public:
    IContextDomainObjectListener() = default;
    IContextDomainObjectListener(const IContextDomainObjectListener&) = default;
    IContextDomainObjectListener& operator=(const IContextDomainObjectListener&) = default;
    ~IContextDomainObjectListener() override;

    // The object of the given family, creation type and identifier changed
    // in the document of the dataname.
    virtual void DomainObjectModified(const std::wstring& dataname, DomainObjectType type,
                                      CreationType creationType, unsigned long identifier) = 0;
    // The object was added to the document of the dataname.
    virtual void DomainObjectAdded(const std::wstring& dataname,
                                   const std::shared_ptr<IDomainObject>& object) = 0;
    // The object was removed from the document of the dataname.
    virtual void DomainObjectRemoved(const std::wstring& dataname, DomainObjectType type,
                                     CreationType creationType, unsigned long identifier) = 0;
};

}  // namespace fwcommon
