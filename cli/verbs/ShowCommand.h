#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// `fwpolicy show FILE [--section S] [--objects FILE] [--json] [--raw]`: the
// rules of each section in priority order, with their conditions in the
// editor's words (--raw: the library's display texts), or with --json as
// structured values (docs/show.schema.json).
void AddShowCommand(CLI::App& app, int* status);

}  // namespace fwpolicy
