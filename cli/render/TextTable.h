#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace fwpolicy {

// Prints rows as aligned columns, two blanks apart, each line indented by
// two blanks; the first row is the heading (bold when colour is wanted).
// Trailing cells are not padded and lines end without blanks. On a terminal the table fits its
// width (terminal::TableWidth): the widest cells are cut with "…", columns of numbers never.
// Elsewhere nothing is cut, and a cell wider than 60 columns does not widen its column: it pushes
// the rest of its own line. Output is UTF-8, cells escaped as terminal::Printable does.
void PrintTable(std::ostream& out, const std::vector<std::vector<std::wstring>>& rows);

}  // namespace fwpolicy
