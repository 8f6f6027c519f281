#include "DisplayWidth.h"

#include <algorithm>
#include <iterator>

namespace fwpolicy::terminal {
namespace {

struct Range {
    char32_t first;
    char32_t last;
};

// Characters that take no cell of their own.
constexpr Range kZeroWidth[] = {
    {0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x0610, 0x061A}, {0x064B, 0x065F},
    {0x0E31, 0x0E31}, {0x0E34, 0x0E3A}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x200B, 0x200F},
    {0x20D0, 0x20FF}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0xFEFF, 0xFEFF}};

// Characters that take two cells.
constexpr Range kWide[] = {{0x1100, 0x115F},   {0x2E80, 0x303E},   {0x3041, 0x33FF},
                           {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
                           {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE30, 0xFE4F},
                           {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x1F300, 0x1F64F},
                           {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD}};

template <std::size_t N>
bool In(const Range (&ranges)[N], char32_t c) {
    return std::any_of(std::begin(ranges), std::end(ranges),
                       [c](const Range& r) { return c >= r.first && c <= r.last; });
}

std::size_t CellsOf(char32_t c) {
    if (In(kZeroWidth, c))
        return 0;
    return In(kWide, c) ? 2 : 1;
}

// The character at text[i] and its length in bytes; a byte that starts no
// sequence counts as one character of its own.
std::size_t Next(const std::string& text, std::size_t i, char32_t& c) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80             ? 1
                               : (lead & 0xE0) == 0xC0 ? 2
                               : (lead & 0xF0) == 0xE0 ? 3
                               : (lead & 0xF8) == 0xF0 ? 4
                                                       : 1;
    if (i + length > text.size()) {
        c = lead;
        return 1;
    }
    c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k)
        c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    return length;
}

}  // namespace

std::size_t DisplayWidth(const std::string& utf8) {
    std::size_t cells = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        i += Next(utf8, i, c);
        cells += CellsOf(c);
    }
    return cells;
}

std::string FitToWidth(const std::string& utf8, std::size_t cells) {
    std::size_t used = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t c = 0;
        const std::size_t length = Next(utf8, i, c);
        if (used + CellsOf(c) > cells)
            break;
        used += CellsOf(c);
        i += length;
    }
    return utf8.substr(0, i);
}

}  // namespace fwpolicy::terminal
