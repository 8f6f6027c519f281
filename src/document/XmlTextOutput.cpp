#include "document/XmlTextOutput.h"

#include <algorithm>
#include <cstdint>

#include "document/XmlValueText.h"

namespace fwcommon::document {
namespace {

// What one ASCII character becomes in text or in an attribute value:
// nothing special, an escape, or a character XML 1.0 does not allow.
enum class Ascii : unsigned char { kPlain, kEscape, kForbidden };

constexpr bool IsForbiddenControl(unsigned c) {
    return c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D;
}

struct AsciiTable {
    Ascii text[128];
    Ascii attribute[128];
};

constexpr AsciiTable MakeAsciiTable() {
    AsciiTable table{};
    for (unsigned c = 0; c < 128; ++c) {
        const Ascii base = IsForbiddenControl(c) ? Ascii::kForbidden : Ascii::kPlain;
        table.text[c] = base;
        table.attribute[c] = base;
    }
    for (unsigned char c : {'&', '<', '>', '\r'}) {
        table.text[c] = Ascii::kEscape;
    }
    for (unsigned char c : {'&', '<', '"', '\t', '\n', '\r'}) {
        table.attribute[c] = Ascii::kEscape;
    }
    return table;
}

constexpr AsciiTable kAscii = MakeAsciiTable();

// Writes the escape of an ASCII character; returns the new end.
char* Escape(char c, char* p) {
    const char* text = "";
    switch (c) {
        case '&':
            text = "&amp;";
            break;
        case '<':
            text = "&lt;";
            break;
        case '>':
            text = "&gt;";
            break;
        case '"':
            text = "&quot;";
            break;
        case '\t':
            text = "&#x9;";
            break;
        case '\n':
            text = "&#xA;";
            break;
        case '\r':
            text = "&#xD;";
            break;
        default:
            break;
    }
    const std::size_t size = std::strlen(text);
    std::memcpy(p, text, size);
    return p + size;
}

// The length of a text the document can hold. The DOM would cut a text
// short at its first NUL and so write something else than the document
// holds; such a text is refused instead.
std::size_t WholeTextLength(const std::wstring& value) {
    if (value.find(L'\0') != std::wstring::npos) {
        xml_schema::diagnostics diagnostics;
        diagnostics.push_back(
            xml_schema::error(xml_schema::severity::error, L"policy", 0, 0,
                              L"a text holds U+0000, which a policy document cannot hold"));
        throw xml_schema::serialization(diagnostics);
    }
    return value.size();
}

constexpr std::size_t kMaxBytesPerChar = 6;  // "&quot;"
constexpr std::size_t kSmallestBuffer = 4096;
// The buffer is reserved at the expected size but made usable a step at a
// time: resizing zero-fills, and pages of the reservation that are never
// written then never count against the process's memory.
constexpr std::size_t kUsableStep = std::size_t{1} << 20;

}  // namespace

XmlTextOutput::XmlTextOutput(std::vector<unsigned char>& out, std::size_t expectedSize)
    : out_(out) {
    out_.clear();
    out_.reserve(std::max(expectedSize, kSmallestBuffer));
    out_.resize(std::min(out_.capacity(), kUsableStep));
}

void XmlTextOutput::Finish() {
    out_.resize(pos_);
}

void XmlTextOutput::Grow(std::size_t size) {
    const std::size_t needed = pos_ + size;
    if (needed > out_.capacity()) {
        out_.reserve(std::max(out_.capacity() * 2, needed));
    }
    out_.resize(std::min(out_.capacity(), needed + kUsableStep));
}

void XmlTextOutput::CloseStartTag() {
    if (startTagOpen_) {
        Byte('>');
        startTagOpen_ = false;
    }
}

void XmlTextOutput::LineBreakAndIndent() {
    int level = depth_;
    if (lineBreakPending_) {
        level = indentTaken_ < level ? level - indentTaken_ : 0;
        lineBreakPending_ = false;
        indentTaken_ = 0;
    } else {
        Byte('\n');
    }
    const std::size_t blanks = 2 * static_cast<std::size_t>(level);
    std::memset(Reserve(blanks), ' ', blanks);
    pos_ += blanks;
}

void XmlTextOutput::OpenElement(XmlName name) {
    CloseStartTag();
    LineBreakAndIndent();
    Byte('<');
    Raw(name.text, name.size);
    startTagOpen_ = true;
    ++depth_;
}

void XmlTextOutput::CloseElement(XmlName name) {
    --depth_;
    if (startTagOpen_) {
        Raw("/>");
        startTagOpen_ = false;
        return;
    }
    LineBreakAndIndent();
    Raw("</");
    Raw(name.text, name.size);
    Byte('>');
}

void XmlTextOutput::StringAttribute(XmlName name, const std::wstring& value) {
    Byte(' ');
    Raw(name.text, name.size);
    Raw("=\"");
    EscapedAttributeValue(value);
    Byte('"');
}

void XmlTextOutput::BoolAttribute(XmlName name, bool value) {
    Byte(' ');
    Raw(name.text, name.size);
    if (value) {
        Raw("=\"true\"");
    } else {
        Raw("=\"false\"");
    }
}

void XmlTextOutput::LongAttribute(XmlName name, long long value) {
    char text[kValueTextCapacity];
    const std::size_t size = FormatLong(value, text);
    Byte(' ');
    Raw(name.text, name.size);
    Raw("=\"");
    Raw(text, size);
    Byte('"');
}

void XmlTextOutput::XsiTypeAttribute(XmlName typeName) {
    Raw(" xsi:type=\"sv:");
    Raw(typeName.text, typeName.size);
    Byte('"');
}

void XmlTextOutput::TextLeafStart(XmlName name) {
    CloseStartTag();
    LineBreakAndIndent();
    Byte('<');
    Raw(name.text, name.size);
}

void XmlTextOutput::LeafElement(XmlName name, const char* text, std::size_t textSize) {
    TextLeafStart(name);
    if (textSize == 0) {
        Raw("/>");
        return;
    }
    Byte('>');
    Raw(text, textSize);
    Raw("</");
    Raw(name.text, name.size);
    Byte('>');
}

void XmlTextOutput::StringElement(XmlName name, const std::wstring& value) {
    TextLeafStart(name);
    if (value.empty()) {
        Raw("/>");
        return;
    }
    Byte('>');
    EscapedText(value);
    Raw("</");
    Raw(name.text, name.size);
    Byte('>');
}

void XmlTextOutput::LongElement(XmlName name, long long value) {
    char text[kValueTextCapacity];
    LeafElement(name, text, FormatLong(value, text));
}

void XmlTextOutput::BoolElement(XmlName name, bool value) {
    if (value) {
        LeafElement(name, "true", 4);
    } else {
        LeafElement(name, "false", 5);
    }
}

void XmlTextOutput::TimeElement(XmlName name, const xml_schema::time& value) {
    char text[kValueTextCapacity];
    LeafElement(name, text, FormatTime(value, text));
}

void XmlTextOutput::DateElement(XmlName name, const xml_schema::date& value) {
    char text[kValueTextCapacity];
    LeafElement(name, text, FormatDate(value, text));
}

void XmlTextOutput::DateTimeElement(XmlName name, const xml_schema::date_time& value) {
    char text[kValueTextCapacity];
    LeafElement(name, text, FormatDateTime(value, text));
}

// Writes wide characters as UTF-8 with the escapes of one table. Returns
// the new end, or nullptr for a character the binding does not write as
// text.
static char* Utf8Escaped(const wchar_t* chars, std::size_t length, const Ascii* table, char* p) {
    for (std::size_t i = 0; i < length; ++i) {
        const auto c = static_cast<std::uint32_t>(chars[i]);
        if (c < 0x80) {
            const Ascii kind = table[c];
            if (kind == Ascii::kPlain) {
                *p++ = static_cast<char>(c);
            } else if (kind == Ascii::kEscape) {
                p = Escape(static_cast<char>(c), p);
            } else {
                return nullptr;
            }
        } else if (c < 0x800) {
            *p++ = static_cast<char>(0xC0 | (c >> 6));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            if ((c >= 0xD800 && c <= 0xDFFF) || c == 0xFFFE || c == 0xFFFF) {
                return nullptr;
            }
            *p++ = static_cast<char>(0xE0 | (c >> 12));
            *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        } else if (c <= 0x10FFFF) {
            *p++ = static_cast<char>(0xF0 | (c >> 18));
            *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            return nullptr;
        }
    }
    return p;
}

void XmlTextOutput::EscapedText(const std::wstring& value) {
    const std::size_t length = WholeTextLength(value);
    char* start = Reserve(length * kMaxBytesPerChar);
    char* end = Utf8Escaped(value.data(), length, kAscii.text, start);
    if (end == nullptr) {
        MarkUnsupported();
        return;
    }
    pos_ += static_cast<std::size_t>(end - start);
    NoteBlankText(value, length);
}

void XmlTextOutput::EscapedAttributeValue(const std::wstring& value) {
    const std::size_t length = WholeTextLength(value);
    char* start = Reserve(length * kMaxBytesPerChar);
    char* end = Utf8Escaped(value.data(), length, kAscii.attribute, start);
    if (end == nullptr) {
        MarkUnsupported();
        return;
    }
    pos_ += static_cast<std::size_t>(end - start);
}

void XmlTextOutput::NoteBlankText(const std::wstring& value, std::size_t length) {
    const auto isBlank = [](wchar_t c) {
        return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r';
    };
    if (length == 0 || !isBlank(value[0]) ||
        !std::all_of(value.begin(), value.begin() + length, isBlank)) {
        return;
    }
    std::size_t lastBreak = value.rfind(L'\n', length - 1);
    if (lastBreak == std::wstring::npos) {
        lastBreak = value.rfind(L'\r', length - 1);
    }
    if (lastBreak == std::wstring::npos) {
        return;
    }
    lineBreakPending_ = true;
    indentTaken_ = static_cast<int>((length - lastBreak) / 2);
}

}  // namespace fwcommon::document
