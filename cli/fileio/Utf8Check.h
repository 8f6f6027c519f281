#pragma once

#include <cstddef>
#include <string>

namespace fwpolicy {

// Checks bytes for well-formed UTF-8 as they arrive: no overlong forms, no
// surrogate halves, nothing beyond U+10FFFF. One checker follows one stream
// of bytes; it is not shared between threads.
class Utf8Check {
public:
    // Takes the next byte; false when it makes the bytes seen so far
    // invalid (the checker then stays failed).
    bool Take(unsigned char byte);

    // True when the bytes seen so far are valid and end on a whole
    // character.
    bool Complete() const { return !failed_ && pending_ == 0; }

private:
    bool Fail() {
        failed_ = true;
        return false;
    }

    int pending_ = 0;               // continuation bytes still owed
    unsigned char lowest_ = 0x80;   // bounds of the next continuation byte,
    unsigned char highest_ = 0xBF;  // narrower right after some lead bytes
    bool failed_ = false;
};

// True when the whole text is well-formed UTF-8.
bool IsValidUtf8(const std::string& text);

}  // namespace fwpolicy
