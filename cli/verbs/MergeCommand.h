#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// `fwpolicy merge FILE... -o OUT [--time ISO-8601] [--period SECONDS]`:
// registers the files in a Context in the order given and writes the
// resultant policy (Context::GetRSOP) to OUT, replaced atomically. The
// result carries the application time (default: now) and the rollback
// period (default 900 seconds).
void AddMergeCommand(CLI::App& app, int* status);

}  // namespace fwpolicy
