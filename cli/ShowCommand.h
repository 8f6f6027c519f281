#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// `fwpolicy show FILE [--section S] [--objects FILE] [--json]`: the rules of
// each section in priority order, with their conditions as display texts
// and object references shown by the objects' names.
void AddShowCommand(CLI::App& app, int* status);

}  // namespace fwpolicy
