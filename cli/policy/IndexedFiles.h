#pragma once

#include <string>
#include <vector>

#include "policy/PolicyIndex.h"

namespace fwpolicy {

// Loads every file and indexes them together (objects and rule uses tagged
// with their file). Files that cannot be loaded are reported on stderr and
// make the result false; the others are still indexed.
// The named-objects file, when not empty, is indexed last.
bool IndexFiles(const std::vector<std::string>& files, const std::string& objectsFile,
                PolicyIndex& index);

}  // namespace fwpolicy
