#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// `fwpolicy rule set FILE --id ID|--section S --index I [content options]`:
// changes the name, conditions and action of one rule.
void AddRuleSetVerb(CLI::App& rule, int* status);

}  // namespace fwpolicy
