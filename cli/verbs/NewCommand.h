#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// `fwpolicy new FILE [--force]`: writes a new, valid policy document
// without rules, named objects or options, as the library creates one
// (schema version 1.0, issued now, rollback period 900 s). An existing
// FILE is refused unless --force is given; "-" prints the document.
void AddNewCommand(CLI::App& app, int* status);

}  // namespace fwpolicy
