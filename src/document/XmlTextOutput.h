#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include <fwcommon/rules.hxx>

namespace fwcommon::document {

// An element or attribute name known at compile time, with its length.
struct XmlName {
    template <std::size_t N>
    constexpr XmlName(const char (&name)[N]) : text(name), size(N - 1) {}
    const char* text;
    std::size_t size;
};

// Indented UTF-8 XML text written straight into a byte vector, laid out
// byte for byte as the DOM serializer behind the document binding lays out
// the DOM that the binding builds:
//
// - every element starts on a new line, indented two blanks per level;
//   an element without content is written as <name/>, an element with
//   text as <name>text</name>, and the end tag of an element with element
//   children goes on a line of its own;
// - a text that is only blanks, tabs and line breaks and holds a line
//   break takes the place of the next line break, and its blanks after
//   the last break count as indentation (two per level);
// - text escapes & < > and CR; attribute values escape & < " TAB LF CR;
//   character references are "&#x" upper-case hex ";";
// - a wide string ends at its first NUL character, as the binding's
//   conversion to the DOM does.
//
// Content that the binding does not write as plain text (characters that
// XML 1.0 does not allow, lone surrogates, code points beyond U+10FFFF) is
// not written: the output is marked unsupported and the caller must write
// the document another way. Writing continues, so the caller checks
// Supported() once at the end.
//
// One object per document; not shared between threads.
class XmlTextOutput {
public:
    explicit XmlTextOutput(std::vector<unsigned char>& out, std::size_t expectedSize);
    XmlTextOutput(const XmlTextOutput&) = delete;
    XmlTextOutput& operator=(const XmlTextOutput&) = delete;

    // Shrinks the vector to the bytes written.
    void Finish();

    bool Supported() const { return supported_; }
    void MarkUnsupported() { supported_ = false; }

    // Bytes copied as they are (markup known to need no escaping).
    void Raw(const char* text, std::size_t size) {
        char* p = Reserve(size);
        std::memcpy(p, text, size);
        pos_ += size;
    }
    template <std::size_t N>
    void Raw(const char (&text)[N]) {
        Raw(text, N - 1);
    }

    // Start tag "<name" on a new line at the current depth; attributes may
    // follow until the first child or CloseElement.
    void OpenElement(XmlName name);
    // "/>" when nothing was written since OpenElement, otherwise the end
    // tag on its own line.
    void CloseElement(XmlName name);

    // Attributes of the element just opened, in the order given.
    void StringAttribute(XmlName name, const std::wstring& value);
    void BoolAttribute(XmlName name, bool value);
    void LongAttribute(XmlName name, long long value);
    // xsi:type="sv:<typeName>".
    void XsiTypeAttribute(XmlName typeName);

    // Elements holding only text.
    void StringElement(XmlName name, const std::wstring& value);
    void LongElement(XmlName name, long long value);
    void BoolElement(XmlName name, bool value);
    void TimeElement(XmlName name, const xml_schema::time& value);
    void DateElement(XmlName name, const xml_schema::date& value);
    void DateTimeElement(XmlName name, const xml_schema::date_time& value);

private:
    char* Reserve(std::size_t size) {
        if (out_.size() - pos_ < size) {
            Grow(size);
        }
        return reinterpret_cast<char*>(out_.data()) + pos_;
    }
    void Grow(std::size_t size);
    void Byte(char c) { *Reserve(1) = c, ++pos_; }

    void CloseStartTag();
    void LineBreakAndIndent();
    void LeafElement(XmlName name, const char* text, std::size_t textSize);
    void TextLeafStart(XmlName name);
    void EscapedText(const std::wstring& value);
    void EscapedAttributeValue(const std::wstring& value);
    void NoteBlankText(const std::wstring& value, std::size_t length);

    std::vector<unsigned char>& out_;
    std::size_t pos_ = 0;
    int depth_ = 0;
    bool startTagOpen_ = false;
    bool supported_ = true;
    // Left behind by a blank text holding a line break: the next line
    // break is not written and the indentation shrinks by this many levels.
    bool lineBreakPending_ = false;
    int indentTaken_ = 0;
};

}  // namespace fwcommon::document
