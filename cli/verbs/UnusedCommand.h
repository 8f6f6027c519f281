#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// `fwpolicy unused FILE...`: the named objects of the files that no rule of
// any of the files and no other named object refers to, one per line as
// "FILE: KIND ID NAME".
void AddUnusedCommand(CLI::App& app, int* status);

}  // namespace fwpolicy
