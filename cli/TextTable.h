#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace fwpolicy {

// Prints rows as aligned columns, two blanks apart, each line indented by
// two blanks; the first row is usually the heading. Trailing cells are not
// padded. Output is UTF-8.
void PrintTable(std::ostream& out, const std::vector<std::vector<std::wstring>>& rows);

}  // namespace fwpolicy
