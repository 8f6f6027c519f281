#pragma once

#include <fwcommon/DomainTypes.h>
#include <fwcommon/INamedItem.h>
#include <fwcommon/export.h>

namespace fwcommon {

// One of the predefined network sets ("InternetIP", "LocalHost", ...) as an
// entry of a named object. Item kind eSystemObjectItem (0); every system
// object has identifier 0, no parameter ids, and answers every GetParam with
// the text of its type, which is also its name. Two system objects are
// equal when their types are. Immutable; created by
// INamedObject::AddSystemObject and shared by the lists that hold it.
class FWCOMMON_EXPORT ISystemObjectItem : public INamedItem {
public:
    ISystemObjectItem() = default;
    ISystemObjectItem(const ISystemObjectItem&) = default;
    ISystemObjectItem& operator=(const ISystemObjectItem&) { return *this; }
    ~ISystemObjectItem() override;

    virtual SystemObjectTypes GetSystemType() const = 0;
};

}  // namespace fwcommon
