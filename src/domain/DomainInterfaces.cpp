// Out-of-line destructors: they anchor the interfaces' type information in
// the library, so dynamic_cast across the library boundary works.

#include <fwcommon/IDomainObject.h>
#include <fwcommon/IDomainObjectListener.h>
#include <fwcommon/INamedItem.h>

namespace fwcommon {

IDomainObject::~IDomainObject() = default;
INamedItem::~INamedItem() = default;
IDomainObjectListener::~IDomainObjectListener() = default;

}  // namespace fwcommon
