#include "render/TextTable.h"

#include <algorithm>
#include <numeric>
#include <optional>

#include "terminal/DisplayWidth.h"
#include "terminal/OutputSettings.h"
#include "terminal/SafeText.h"
#include "terminal/Style.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

using Cells = std::vector<std::string>;

constexpr std::size_t kIndent = 2;
constexpr std::size_t kGap = 2;
// A cut column keeps at least one character and the ellipsis.
constexpr std::size_t kNarrowestCut = 2;
const std::string kEllipsis = "…";
// Off a terminal nothing is cut; a cell wider than this (a long list of
// members) does not widen its column, so that the other lines stay short.
constexpr std::size_t kWidestAligned = 60;

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

// The widest each column's cells are; a cell wider than `widest` (when
// given) does not widen its column.
std::vector<std::size_t> ColumnWidths(const std::vector<Cells>& rows,
                                      std::optional<std::size_t> widest) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (std::size_t c = 0; c < row.size(); ++c) {
            const std::size_t width = terminal::DisplayWidth(row[c]);
            if (!widest || width <= *widest)
                widths[c] = std::max(widths[c], width);
        }
    }
    return widths;
}

bool IsNumber(const std::string& cell) {
    return !cell.empty() &&
           std::all_of(cell.begin(), cell.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Columns whose cells below the heading are all numbers: a cut identifier
// would be useless.
std::vector<bool> NumberColumns(const std::vector<Cells>& rows, std::size_t columns) {
    std::vector<bool> numbers(columns, true);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            numbers[c] = numbers[c] && IsNumber(rows[r][c]);
    }
    return numbers;
}

// The column widths that fit `limit` cells: the widest cuttable columns
// narrowed to one common width, as wide as the limit allows.
std::vector<std::size_t> Fitted(std::vector<std::size_t> widths, const std::vector<bool>& fixed,
                                std::size_t limit) {
    const std::size_t overhead = kIndent + kGap * (widths.empty() ? 0 : widths.size() - 1);
    const std::size_t total = std::accumulate(widths.begin(), widths.end(), overhead);
    if (total <= limit)
        return widths;
    std::size_t kept = overhead;
    for (std::size_t c = 0; c < widths.size(); ++c)
        kept += fixed[c] ? widths[c] : 0;
    auto cutTo = [&](std::size_t cap) {
        std::size_t sum = kept;
        for (std::size_t c = 0; c < widths.size(); ++c)
            sum += fixed[c] ? 0 : std::min(widths[c], cap);
        return sum;
    };
    std::size_t cap = *std::max_element(widths.begin(), widths.end());
    while (cap > kNarrowestCut && cutTo(cap) > limit)
        --cap;
    for (std::size_t c = 0; c < widths.size(); ++c) {
        if (!fixed[c])
            widths[c] = std::min(widths[c], cap);
    }
    return widths;
}

std::string Cut(const std::string& cell, std::size_t width) {
    if (terminal::DisplayWidth(cell) <= width)
        return cell;
    return terminal::FitToWidth(cell, width - 1) + kEllipsis;
}

// A row's cells, each padded to its column; a cell wider than its column
// (only off a terminal, where nothing is cut) pushes the rest of its line
// right by what it overflows.
std::string Line(const Cells& row, const std::vector<std::size_t>& widths, bool cut) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
        const std::string cell = cut ? Cut(row[c], widths[c]) : row[c];
        const std::size_t width = terminal::DisplayWidth(cell);
        line += cell;
        if (c + 1 < row.size())
            line += std::string((width < widths[c] ? widths[c] - width : 0) + kGap, ' ');
    }
    // Empty cells at the end leave no blanks behind.
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

}  // namespace

void PrintTable(std::ostream& out, const std::vector<std::vector<std::wstring>>& rows) {
    const std::vector<Cells> cells = PrintableCells(rows);
    const std::optional<std::size_t> limit = terminal::TableWidth();
    std::vector<std::size_t> widths =
        ColumnWidths(cells, limit ? std::nullopt : std::optional<std::size_t>(kWidestAligned));
    if (limit)
        widths = Fitted(widths, NumberColumns(cells, widths.size()), *limit);
    for (std::size_t r = 0; r < cells.size(); ++r) {
        const std::string line = Line(cells[r], widths, limit.has_value());
        out << std::string(kIndent, ' ')
            << (r == 0 ? terminal::Styled(line, terminal::Style::kHeading) : line) << '\n';
    }
}

}  // namespace fwpolicy
