#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// `fwpolicy objects FILE [--type KIND...] [--json]`: the named objects of a
// policy file, kind by kind, with their inclusions and exclusions by the
// library's item names and how many rules of the file refer to each
// directly.
void AddObjectsCommand(CLI::App& app, int* status);

}  // namespace fwpolicy
