#pragma once

#include <string>
#include <vector>

#include <CLI/App.hpp>

namespace fwpolicy {

// The creation types as the option verbs name them, in the order of their
// values: "generated", "policy", "user", "post".
const std::vector<std::string>& CreationTypeNames();

// `fwpolicy option list FILE [--json]`: every option of the file in
// document order with its name, creation type, value and the attributes
// it carries (TargetApplication, TargetPlatform, Reserved). Reads only.
void AddOptionListVerb(CLI::App& option, int* status);

}  // namespace fwpolicy
