#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// `fwpolicy lint FILE... [--objects FILE] [--json]`: semantic checks of
// policy files (references, identifiers, unused objects, rules that can
// never match). Each file's rules also see the named objects of the
// --objects file. Exit status 0 when no finding is an error (warnings
// allowed), 1 when one is or a file cannot be loaded, 2 for usage errors.
// The verb's exit status is left in *status when it runs.
void AddLintCommand(CLI::App& app, int* status);

}  // namespace fwpolicy
