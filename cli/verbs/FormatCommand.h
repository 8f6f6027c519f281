#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// `fwpolicy format FILE... [-o OUT] [--check] [--drop-comments]`: rewrites
// each file in the library's canonical form (what the library writes after
// reading it), in place atomically or, for one file, to OUT. A file already
// in canonical form is not touched. With --check nothing is written: each
// file not in canonical form is named on stdout and the exit status is 1.
void AddFormatCommand(CLI::App& app, int* status);

}  // namespace fwpolicy
