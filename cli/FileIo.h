#pragma once

#include <string>
#include <vector>

namespace fwpolicy {

// Reads a whole file. Throws std::runtime_error with the system's reason
// ("cannot read: No such file or directory") when it cannot.
std::vector<unsigned char> ReadFile(const std::string& path);

}  // namespace fwpolicy
