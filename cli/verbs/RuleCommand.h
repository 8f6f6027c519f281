#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// `fwpolicy rule add|remove|enable|disable|move FILE --section S ...`:
// edits one rule section of a policy file through the library's Context
// and replaces the file atomically. Rules are addressed by their 0-based
// index in the section, as `fwpolicy show` numbers them.
void AddRuleCommand(CLI::App& app, int* status);

}  // namespace fwpolicy
