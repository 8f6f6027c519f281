#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// fwpolicy renumber FILE: gives every rule whose identifier lies outside
// its creation type's range (or repeats one) the identifier the library
// would give it on the first edit, writes the file, and prints each old and
// new identifier (on stderr with --dry-run, which prints the document).
void AddRenumberCommand(CLI::App& app, int* status);

}  // namespace fwpolicy
