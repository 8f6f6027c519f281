#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// `fwpolicy apply FILE [SCRIPT|-] [--dry-run] [--drop-comments]`: runs a
// script of edits (one per line, an edit verb and its options as on the
// command line without the file, `#` comments, blank lines) on one load
// of the file through one Context, commits once and replaces the file
// atomically. The first line that fails stops the script with its line
// number and nothing is written. --dry-run prints what `diff` would report
// between the file and the result instead of writing.
void AddApplyCommand(CLI::App& app, int* status);

}  // namespace fwpolicy
