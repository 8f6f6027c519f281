#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace fwpolicy {

// Prints rows as aligned columns, two blanks apart, each line indented by
// two blanks; the first row is the heading (bold when colour is wanted).
// Trailing cells are not padded. On a terminal the table fits its width
// (terminal::TableWidth): the widest cells are cut with "…", columns of
// numbers never. Output is UTF-8, cells escaped as terminal::Printable does.
void PrintTable(std::ostream& out, const std::vector<std::vector<std::wstring>>& rows);

}  // namespace fwpolicy
