#include "document/MarkupLimits.h"

#include <algorithm>
#include <cstring>

namespace fwcommon::document {
namespace {

// The document as a sequence of code units of one width and byte order;
// each unit reads as its ASCII character, or as 'x' beyond ASCII, which is
// all the markup scan needs.
class Units {
public:
    explicit Units(const std::vector<unsigned char>& bytes) : bytes_(bytes) { DetectEncoding(); }

    std::size_t size() const { return (bytes_.size() - start_) / width_; }

    char operator[](std::size_t index) const {
        if (width_ == 1) {  // UTF-8, nearly every document: one byte a unit
            const unsigned char byte = bytes_[start_ + index];
            return byte < 0x80 ? static_cast<char>(byte) : 'x';
        }
        const unsigned char* unit = bytes_.data() + start_ + index * width_;
        unsigned long value = 0;
        for (std::size_t b = 0; b < width_; ++b) {
            const unsigned char byte = bigEndian_ ? unit[b] : unit[width_ - 1 - b];
            value = (value << 8) | byte;
        }
        return value < 0x80 ? static_cast<char>(value) : 'x';
    }

    // The units as bytes when each unit is one byte; null otherwise.
    const unsigned char* SingleBytes() const {
        return width_ == 1 ? bytes_.data() + start_ : nullptr;
    }

    // The index of the next '<' at or after from, size() when there is none.
    std::size_t FindOpen(std::size_t from) const { return Find(from, '<'); }

    bool StartsWith(std::size_t at, const char* text) const {
        for (; *text != '\0'; ++text, ++at) {
            if (at >= size() || (*this)[at] != *text) {
                return false;
            }
        }
        return true;
    }

    // The index just past the next occurrence of text at or after from,
    // size() when there is none.
    std::size_t SkipPast(std::size_t from, const char* text) const {
        const std::size_t length = std::strlen(text);
        for (std::size_t at = Find(from, text[0]); at < size(); at = Find(at + 1, text[0])) {
            if (StartsWith(at, text)) {
                return at + length;
            }
        }
        return size();
    }

    // Line and column (from 1) of a unit; columns count units.
    TextPosition PositionOf(std::size_t index) const {
        TextPosition position{1, 1};
        for (std::size_t at = 0; at < index; ++at) {
            if ((*this)[at] == '\n') {
                ++position.line;
                position.column = 1;
            } else {
                ++position.column;
            }
        }
        return position;
    }

private:
    // The index of the next unit that reads as wanted (ASCII) at or after
    // from, size() when there is none.
    std::size_t Find(std::size_t from, char wanted) const {
        if (from >= size()) {
            return size();  // also keeps empty bytes (no data pointer) away from memchr
        }
        if (width_ == 1) {
            const unsigned char* base = bytes_.data() + start_;
            const void* found = std::memchr(base + from, wanted, size() - from);
            return found ? static_cast<const unsigned char*>(found) - base : size();
        }
        while (from < size() && (*this)[from] != wanted) {
            ++from;
        }
        return from;
    }

    bool BytesAre(std::initializer_list<unsigned char> expected) const {
        return bytes_.size() >= expected.size() &&
               std::equal(expected.begin(), expected.end(), bytes_.begin());
    }

    void Use(std::size_t width, bool bigEndian, std::size_t start) {
        width_ = width;
        bigEndian_ = bigEndian;
        start_ = start;
    }

    void DetectEncoding() {
        if (BytesAre({0xFF, 0xFE, 0x00, 0x00})) {
            Use(4, false, 4);
        } else if (BytesAre({0x00, 0x00, 0xFE, 0xFF})) {
            Use(4, true, 4);
        } else if (BytesAre({0xFF, 0xFE})) {
            Use(2, false, 2);
        } else if (BytesAre({0xFE, 0xFF})) {
            Use(2, true, 2);
        } else if (BytesAre({0xEF, 0xBB, 0xBF})) {
            Use(1, true, 3);
        } else if (BytesAre({'<', 0x00, 0x00, 0x00})) {
            Use(4, false, 0);
        } else if (BytesAre({0x00, 0x00, 0x00, '<'})) {
            Use(4, true, 0);
        } else if (BytesAre({'<', 0x00})) {
            Use(2, false, 0);
        } else if (BytesAre({0x00, '<'})) {
            Use(2, true, 0);
        }
    }

    const std::vector<unsigned char>& bytes_;
    std::size_t width_ = 1;
    bool bigEndian_ = true;
    std::size_t start_ = 0;
};

struct StartTag {
    std::size_t end;  // just past its '>', or the end of the units
    std::size_t attributes;
    std::size_t longestValue;  // in units, quotes excluded
    bool empty;                // written "<name .../>"
};

// Reads a start tag from the '<' at `at`: every '=' outside a quoted value
// begins an attribute value.
StartTag ScanStartTag(const Units& units, std::size_t at) {
    const std::size_t size = units.size();
    StartTag tag{size, 0, 0, false};
    char quote = '\0';
    char previous = '\0';
    std::size_t valueStart = 0;
    for (std::size_t i = at + 1; i < size; ++i) {
        const char c = units[i];
        if (quote != '\0') {
            if (c == quote) {
                quote = '\0';
                tag.longestValue = std::max(tag.longestValue, i - valueStart);
            }
        } else if (c == '"' || c == '\'') {
            quote = c;
            valueStart = i + 1;
        } else if (c == '=') {
            ++tag.attributes;
        } else if (c == '>') {
            tag.end = i + 1;
            tag.empty = previous == '/';
            return tag;
        }
        previous = c;
    }
    return tag;
}

// ScanStartTag for units of one byte, nearly every document: each quoted
// value is skipped in one search for its closing quote. Bytes beyond ASCII
// equal none of the characters looked for, as 'x' does not.
StartTag ScanStartTagBytes(const unsigned char* bytes, std::size_t size, std::size_t at) {
    StartTag tag{size, 0, 0, false};
    for (std::size_t i = at + 1; i < size; ++i) {
        const unsigned char c = bytes[i];
        if (c == '"' || c == '\'') {
            const void* close = std::memchr(bytes + i + 1, c, size - i - 1);
            if (close == nullptr)
                return tag;  // the value runs to the end, as does the tag
            const std::size_t closeAt =
                static_cast<std::size_t>(static_cast<const unsigned char*>(close) - bytes);
            tag.longestValue = std::max(tag.longestValue, closeAt - i - 1);
            i = closeAt;
        } else if (c == '=') {
            ++tag.attributes;
        } else if (c == '>') {
            tag.end = i + 1;
            tag.empty = i > at + 1 && bytes[i - 1] == '/';
            return tag;
        }
    }
    return tag;
}

StartTag ReadStartTag(const Units& units, std::size_t at) {
    if (const unsigned char* bytes = units.SingleBytes())
        return ScanStartTagBytes(bytes, units.size(), at);
    return ScanStartTag(units, at);
}

LimitBreach Breach(const Units& units, std::size_t at, const std::wstring& message) {
    return LimitBreach{units.PositionOf(at), message};
}

}  // namespace

std::optional<LimitBreach> FindMarkupLimitBreach(const std::vector<unsigned char>& bytes) {
    const Units units(bytes);
    const std::wstring tooLong = L"a text is longer than 1048576 characters";
    std::size_t depth = 0;
    std::size_t textStart = 0;  // where the text after the last markup starts
    std::size_t runStart = 0;   // where the text since the last tag starts
    std::size_t runLength = 0;  // text and CDATA content since the last tag
    for (std::size_t at = units.FindOpen(0); at < units.size();
         textStart = at, at = units.FindOpen(at)) {
        runLength += at - textStart;
        if (runLength > kMaxTextLength) {
            return Breach(units, runStart, tooLong);
        }
        const std::size_t markupStart = at;
        // The unit after '<' tells tags from the rest, without reading on.
        const char next = at + 1 < units.size() ? units[at + 1] : '\0';
        if (next == '!' && units.StartsWith(at, "<![CDATA[")) {
            at = units.SkipPast(at + 9, "]]>");
            runLength += at - markupStart - std::min<std::size_t>(at - markupStart, 12);
            if (runLength > kMaxTextLength) {
                return Breach(units, runStart, tooLong);
            }
            continue;
        }
        if (next == '!' && units.StartsWith(at, "<!DOCTYPE")) {
            return Breach(units, at, L"a DOCTYPE is not allowed in a policy document");
        }
        if (next == '!' || next == '?') {
            const bool comment = units.StartsWith(at, "<!--");
            at = units.SkipPast(at + 2, comment ? "-->" : next == '?' ? "?>" : ">");
            if (at - markupStart > kMaxTextLength + 7) {  // delimiters included
                return Breach(units, markupStart, tooLong);
            }
            continue;
        }
        runLength = 0;
        if (next == '/') {
            depth -= depth > 0 ? 1 : 0;
            at = units.SkipPast(at + 2, ">");
        } else {
            const StartTag tag = ReadStartTag(units, at);
            if (tag.longestValue > kMaxTextLength) {
                return Breach(units, at, tooLong);
            }
            if (tag.attributes > kMaxAttributes) {
                return Breach(units, at, L"an element carries more than 1024 attributes");
            }
            if (!tag.empty && ++depth > kMaxElementDepth) {
                return Breach(units, at, L"elements are nested deeper than 256 levels");
            }
            at = tag.end;
        }
        runStart = at;
    }
    if (runLength + (units.size() - textStart) > kMaxTextLength) {
        return Breach(units, runStart, tooLong);
    }
    return std::nullopt;
}

}  // namespace fwcommon::document
