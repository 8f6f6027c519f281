#pragma once

#include <cstdint>

#include <fwcommon/export.h>

namespace fwcommon {

// The process-wide generator of named-object internal numbers. It is
// created on first use and never replaced: whichever call comes first fixes
// its range (first .. 4294967295). A Context creates it with its
// internal-number base (1 in operational mode 2, else 1000000) before it
// builds named objects; the free CreateNamedObject functions, and the
// named-object constructors when nothing has created it yet, use 1.
// All operations are safe from any thread.

// Creates the generator with the range first .. 4294967295 unless it
// exists. True when this call created it.
bool EnsureNamedObjectNumbers(std::uint32_t first);

// The next free internal number, now busy. Throws std::out_of_range
// "invalid vector<T> subscript" when every number is taken.
std::uint32_t GenerateNamedObjectNumber();

// Marks a number busy (a number that is not free is left as it is).
void MarkNamedObjectNumberBusy(std::uint32_t number);

}  // namespace fwcommon
