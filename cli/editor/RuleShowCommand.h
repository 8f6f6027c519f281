#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// `fwpolicy rule show FILE --id ID|--section S --index I [--json]`: every
// field of one rule (section, place, identifiers, name, creation type,
// state, each condition entry in the text forms `rule add` reads, the
// action) and the named objects it refers to, directly or through other
// objects, with their entries. Reads only; rules are named as the file
// numbers them, as `show` prints them.
void AddRuleShowVerb(CLI::App& rule, int* status);

}  // namespace fwpolicy
