#pragma once

#include <cstddef>
#include <string>

#include "fileio/Utf8Check.h"

namespace fwpolicy {

// Watches the bytes of a policy file while they are read, so that input
// that can never be a policy document (a device full of NULs, an endless
// pipe, nesting without end) is refused at once instead of after reading
// up to the size limit. It applies the library's documented bounds (256
// levels of elements, 1024 attributes on an element, a text of 1048576
// characters) together with its rules on bytes (UTF-8 only, no NUL), but
// reads the markup loosely: it never refuses what the library would
// accept, and the library still checks everything when it parses. One
// check follows one file; it is not shared between threads.
class StreamingMarkupCheck {
public:
    // Takes the next piece of the file. Throws std::runtime_error naming the
    // broken bound and the byte offset where it breaks.
    void Take(const unsigned char* bytes, std::size_t count);

private:
    enum class State {
        kText,
        kMarkupOpen,  // just after '<'
        kBang,        // after "<!", before we know what follows
        kStartTag,
        kEndTag,
        kComment,
        kInstruction,
        kCdata,
        kDeclaration,  // any other "<!...>"
    };

    void TakeByte(unsigned char byte);
    void TakeText(unsigned char byte);
    void TakeMarkupOpen(unsigned char byte);
    void TakeBang(unsigned char byte);
    void TakeStartTag(unsigned char byte);
    void TakeUntil(unsigned char byte, const char* end);
    void EndTag();
    [[noreturn]] void Refuse(const std::string& reason) const;

    Utf8Check utf8_;
    State state_ = State::kText;
    std::size_t offset_ = 0;  // of the byte being taken
    std::size_t depth_ = 0;
    std::size_t textLength_ = 0;  // characters since the last tag
    std::size_t attributes_ = 0;  // of the start tag being read
    char quote_ = '\0';           // inside a quoted attribute value
    char previous_ = '\0';        // the byte before, within markup
    std::string opening_;         // what follows "<!" so far
    std::string tail_;            // the last bytes of the markup being skipped
};

}  // namespace fwpolicy
