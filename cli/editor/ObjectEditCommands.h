#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// The `object` verbs that make and change named objects:
//   object add FILE --type KIND --name N [--member E]... [--exclude E]...
//   object set FILE --name N|--id ID [--type KIND] [--add E] [--remove E]
//              [--exclude E] [--remove-exclude E]
//   object rename FILE --name OLD|--id ID [--type KIND] --to NEW
//   object show FILE --name N|--id ID [--type KIND] [--json]
// Entries are written as the conditions of `rule add` are.
void AddObjectEditVerbs(CLI::App& object, int* status);

}  // namespace fwpolicy
