#pragma once

#include <memory>
#include <string>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/INamedObject.h>
#include <fwcommon/export.h>

namespace fwcommon {

// Named-object factories. Both make sure that the process-wide generator of
// named-object internal numbers exists (created with the range
// 1..4294967295 when no Context has created it yet; an existing one is
// kept), then build the object of the kind: an InterfaceNamedObject,
// IpAddressNamedObject, ServiceNamedObject, ScheduleNamedObject or
// SarvoGroupNamedObject behind the kind's interface. Any other type throws
// std::runtime_error "Application function:
// NamedObjectInternal::CreateNamedObject. Details: Incorrect named-object
// type." and creates nothing. Safe from any thread.

// The identifier is the generator's next free number.
FWCOMMON_EXPORT std::shared_ptr<INamedObject> CreateNamedObject(const std::wstring& name,
                                                                const std::wstring& description,
                                                                NamedObjectType type,
                                                                CreationType creationType);

// The given identifier is used and marked busy in the generator. An
// identifier above 4294967295 throws std::out_of_range.
FWCOMMON_EXPORT std::shared_ptr<INamedObject> CreateNamedObject(unsigned long identifier,
                                                                const std::wstring& name,
                                                                const std::wstring& description,
                                                                NamedObjectType type,
                                                                CreationType creationType);

}  // namespace fwcommon
