#pragma once

#include <CLI/App.hpp>

#include "ExitStatus.h"

namespace fwpolicy {

// `fwpolicy check FILE... [-j N]`: validates each file and prints its
// summary or its diagnostics, in the order of the files; the files are
// read on N threads (one per processor by default). Never writes. The
// verb's exit status is left in *status when it runs.
void AddCheckCommand(CLI::App& app, int* status);

// Adds -j/--jobs to a verb whose files are independent: how many files are
// worked on at once. *jobs starts as one per processor.
void AddJobsOption(CLI::App& verb, unsigned* jobs);

}  // namespace fwpolicy
