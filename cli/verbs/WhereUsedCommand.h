#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// `fwpolicy where-used FILE... --object NAME`: for each named object called
// NAME in any of the files, the rules of every file that refer to it, with
// where in the rule (source, destination, services, schedules), and the
// named objects that depend on it, directly or through other objects.
// Exit status 1 when no file holds an object of that name.
void AddWhereUsedCommand(CLI::App& app, int* status);

}  // namespace fwpolicy
