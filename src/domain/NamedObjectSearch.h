#pragma once

#include <memory>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/INamedObject.h>

namespace fwcommon {

// The identity of a named object: its identifier with its creation type.
IdentifierWithType IdentityOf(const INamedObject& object);

// The entry as a named object when it is one (item kind 1), else null.
const INamedObject* AsNamedObject(const std::shared_ptr<INamedItem>& entry);

// True when a named object of the given identity stands in the lists of
// container or, recursively, of any named object found there. Each object
// is searched once, so reference cycles end the search.
bool ContainsNamedObject(const INamedObject& container, const IdentifierWithType& wanted);

}  // namespace fwcommon
