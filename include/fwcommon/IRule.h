#pragma once

#include <memory>

#include <fwcommon/IDomainObject.h>
#include <fwcommon/export.h>

namespace Sarvo {
class Rule;
}

namespace fwcommon {

// A rule of a loaded policy document: a shared handle over the rule's own
// document element. The handle answers identifier, creation type, name and
// family; everything else is read and changed through the element
// (GetXmlRule). Changes made there are seen at once by every holder of the
// handle; the document itself changes only when the handle is handed back
// to the Context (UpdateRule). The operations report no errors. One thread
// at a time uses a handle, and the Context's operations on its document
// count as uses: an update of the rule, a rollback and the document's first
// change after a load, commit or rollback may update the handle.
class FWCOMMON_EXPORT IRule : public IDomainObject {
public:
    IRule() = default;
    IRule(const IRule&) = default;
    IRule& operator=(const IRule&) { return *this; }
    ~IRule() override;

    // The rule's element, shared with the handle (never empty).
    virtual std::shared_ptr<Sarvo::Rule> GetXmlRule() const = 0;
    // The element's IsActive value.
    virtual bool IsActive() const = 0;
    // Stores the value as the element's IsActive. Listeners are not told:
    // the change reaches the document and the listeners through UpdateRule.
    virtual void SetActive(bool active) = 0;
};

}  // namespace fwcommon
