#pragma once

#include <cstdint>

namespace fwcommon {

// The texts of the system object types, indexed by SystemObjectTypes value
// (kSystemObjectTypeCount entries). Constant data, built into the library.
extern const wchar_t* const kSystemObjectTexts[];

}  // namespace fwcommon
