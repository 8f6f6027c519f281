#pragma once

#include <string>
#include <vector>

namespace fwpolicy {

// The creation types as the tool names them, in the order of their values:
// "generated", "policy", "user", "post".
const std::vector<std::string>& CreationTypeNames();

}  // namespace fwpolicy
