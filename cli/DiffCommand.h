#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// `fwpolicy diff A B [--json]`: the rules, named objects and options added,
// removed and changed from A to B, each change with the first mismatch the
// strict comparators find. Exit status 0 when equal, 1 when different, 2
// when a file cannot be loaded.
void AddDiffCommand(CLI::App& app, int* status);

}  // namespace fwpolicy
