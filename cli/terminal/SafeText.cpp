#include "SafeText.h"

#include <cstdio>

namespace fwpolicy::terminal {
namespace {

constexpr char32_t kDelete = 0x7F;
constexpr char32_t kLastC1 = 0x9F;
constexpr char32_t kArabicLetterMark = 0x061C;
constexpr char32_t kLeftToRightMark = 0x200E;
constexpr char32_t kRightToLeftMark = 0x200F;
constexpr char32_t kFirstEmbedding = 0x202A;  // LRE, RLE, PDF, LRO, RLO
constexpr char32_t kLastEmbedding = 0x202E;
constexpr char32_t kFirstIsolate = 0x2066;  // LRI, RLI, FSI, PDI
constexpr char32_t kLastIsolate = 0x2069;

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= kDelete && c <= kLastC1);
}

bool IsDirectionMark(char32_t c) {
    return c == kArabicLetterMark || c == kLeftToRightMark || c == kRightToLeftMark ||
           (c >= kFirstEmbedding && c <= kLastEmbedding) ||
           (c >= kFirstIsolate && c <= kLastIsolate);
}

std::string Escape(const char* format, unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Decodes the sequence at text[i]; returns its length, 0 when the bytes
// there are no well-formed UTF-8.
std::size_t Decode(const std::string& text, std::size_t i, char32_t& c) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80             ? 1
                         : (lead & 0xE0) == 0xC0 ? 2
                         : (lead & 0xF0) == 0xE0 ? 3
                         : (lead & 0xF8) == 0xF0 ? 4
                                                 : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (next & 0x3F);
    }
    static const char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return length;
}

std::string Escaped(const std::string& utf8, bool keepLineBreaks) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        // A run of printable ASCII, most of any text, goes as it is.
        std::size_t plain = i;
        while (plain < utf8.size() && utf8[plain] >= 0x20 && utf8[plain] < 0x7F) {
            ++plain;
        }
        if (plain > i) {
            out.append(utf8, i, plain - i);
            i = plain;
            continue;
        }
        char32_t c = 0;
        const std::size_t length = Decode(utf8, i, c);
        if (length == 0) {
            out += Escape("\\x%02x", static_cast<unsigned char>(utf8[i]));
            ++i;
            continue;
        }
        if (keepLineBreaks && (c == '\n' || c == '\t')) {
            out += static_cast<char>(c);
        } else if (IsControl(c)) {
            out += Escape("\\x%02x", static_cast<unsigned>(c));
        } else if (IsDirectionMark(c)) {
            out += Escape("\\u%04x", static_cast<unsigned>(c));
        } else {
            out.append(utf8, i, length);
        }
        i += length;
    }
    return out;
}

}  // namespace

std::string Printable(const std::string& utf8) {
    return Escaped(utf8, false);
}

std::string PrintableLines(const std::string& utf8) {
    return Escaped(utf8, true);
}

}  // namespace fwpolicy::terminal
