#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// `fwpolicy option get FILE NAME [--creation-type T]` prints an option's
// value; `fwpolicy option set FILE NAME VALUE [--creation-type T]` stores
// it through the library's Context and replaces the file atomically;
// `fwpolicy option unset FILE NAME [--creation-type T]` removes it the same
// way; `fwpolicy option list FILE [--json]` lists every option.
//
// Options are kept per name and creation type. Without --creation-type the
// option of whichever creation type holds the name is meant; when several
// hold it the choice must be made; `set` of a name no creation type holds
// adds it as a User option.
void AddOptionCommand(CLI::App& app, int* status);

}  // namespace fwpolicy
