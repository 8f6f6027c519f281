#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// `fwpolicy version FILE` and `fwpolicy domains FILE`: what the quick
// scanners read from a document without loading it.
void AddScanCommands(CLI::App& app, int* status);

}  // namespace fwpolicy
