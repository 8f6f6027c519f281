#include "TextTable.h"

#include <algorithm>

#include "Utf8.h"
#include "terminal/DisplayWidth.h"
#include "terminal/SafeText.h"

namespace fwpolicy {
namespace {

using Cells = std::vector<std::string>;

std::vector<Cells> PrintableCells(const std::vector<std::vector<std::wstring>>& rows) {
    std::vector<Cells> out;
    out.reserve(rows.size());
    for (const auto& row : rows) {
        Cells cells;
        for (const std::wstring& cell : row)
            cells.push_back(terminal::Printable(ToUtf8(cell)));
        out.push_back(std::move(cells));
    }
    return out;
}

std::vector<std::size_t> ColumnWidths(const std::vector<Cells>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], terminal::DisplayWidth(row[c]));
    }
    return widths;
}

}  // namespace

void PrintTable(std::ostream& out, const std::vector<std::vector<std::wstring>>& rows) {
    const std::vector<Cells> cells = PrintableCells(rows);
    const std::vector<std::size_t> widths = ColumnWidths(cells);
    constexpr std::size_t kGap = 2;
    for (const auto& row : cells) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size())
                line += std::string(widths[c] - terminal::DisplayWidth(row[c]) + kGap, ' ');
        }
        out << "  " << line << '\n';
    }
}

}  // namespace fwpolicy
