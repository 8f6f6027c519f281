#pragma once

#include <memory>
#include <set>
#include <vector>

#include <fwcommon/export.h>

namespace fwcommon {

class INamedObject;

// Adds to result the identifiers of the listed named objects that depend on
// object: those whose inclusions or exclusions hold object itself or an
// object that depends on it, to any depth (through listed objects and
// through entries that are not listed). Entries are matched by identifier
// and creation type, and a listed object stands for every entry of its
// identity. Each object is examined once, so cycles between groups end the
// walk; object itself is added only when it is listed and lies on such a
// cycle. Nothing is removed from result; an empty object or list adds
// nothing. Any thread, on objects nobody changes meanwhile.
FWCOMMON_EXPORT void DetermineNamedObjectDependencies(
    const std::shared_ptr<INamedObject>& object,
    std::shared_ptr<const std::vector<std::shared_ptr<INamedObject>>> objects,
    std::set<unsigned long>& result);

}  // namespace fwcommon
