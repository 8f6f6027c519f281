#pragma once

#include <fwcommon/Context.h>

namespace fwcommon {

// The two parts of a document's entry in the Context's registry: the
// document's data and its editing modes. The entry owns both; a reference
// stays valid while the entry stays in the registry. Same thread as the
// Context.
inline Context::Data& DataOf(Context::RegistryEntry& entry) {
    return entry.second.first;
}
inline const Context::Data& DataOf(const Context::RegistryEntry& entry) {
    return entry.second.first;
}
inline Context::ModesMap& ModesOf(Context::RegistryEntry& entry) {
    return entry.second.second;
}
inline const Context::ModesMap& ModesOf(const Context::RegistryEntry& entry) {
    return entry.second.second;
}

}  // namespace fwcommon
