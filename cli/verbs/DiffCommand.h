#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// `fwpolicy diff A B [--stat | --quiet | -u | --json]`: the rules, named
// objects and options added, removed and changed from A to B, each change
// with every field that differs as "field: old → new" and a moved rule as
// "moved 5 → 505". --stat prints counts per section and kind, --quiet
// nothing, -u a unified diff of the two policies' rule-per-line text.
// Exit status as diff(1): 0 when equal, 1 when different, 2 when a file
// cannot be loaded.
void AddDiffCommand(CLI::App& app, int* status);

}  // namespace fwpolicy
