#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// Exit statuses of every verb.
enum ExitStatus { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

// `fwpolicy check FILE...`: validates each file and prints its summary or
// its diagnostics. Never writes. The verb's exit status is left in
// *status when it runs.
void AddCheckCommand(CLI::App& app, int* status);

}  // namespace fwpolicy
