#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// `fwpolicy option list FILE [--json]`: every option of the file in
// document order with its name, creation type, value and the attributes
// it carries (TargetApplication, TargetPlatform, Reserved). Reads only.
void AddOptionListVerb(CLI::App& option, int* status);

}  // namespace fwpolicy
