#include "TextTable.h"

#include <algorithm>

#include "Utf8.h"

namespace fwpolicy {

void PrintTable(std::ostream& out, const std::vector<std::vector<std::wstring>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    }
    for (const auto& row : rows) {
        std::wstring text;
        for (std::size_t c = 0; c < row.size(); ++c) {
            text += row[c];
            if (c + 1 < row.size())
                text += std::wstring(widths[c] - row[c].size() + 2, L' ');
        }
        out << "  " << ToUtf8(text) << '\n';
    }
}

}  // namespace fwpolicy
