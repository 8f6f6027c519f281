// Out-of-line destructors of the named-object kind interfaces: they anchor
// the interfaces' type information in the library, so dynamic_cast across
// the library boundary works.

#include <fwcommon/ISarvoGroupNamedObject.h>
#include <fwcommon/IScheduleNamedObject.h>
#include <fwcommon/IServiceNamedObject.h>
#include <fwcommon/IinterfaceNamedObject.h>
#include <fwcommon/IipAddressNamedObject.h>

namespace fwcommon {

IipAddressNamedObject::~IipAddressNamedObject() = default;
IinterfaceNamedObject::~IinterfaceNamedObject() = default;
IServiceNamedObject::~IServiceNamedObject() = default;
IScheduleNamedObject::~IScheduleNamedObject() = default;
ISarvoGroupNamedObject::~ISarvoGroupNamedObject() = default;

}  // namespace fwcommon
