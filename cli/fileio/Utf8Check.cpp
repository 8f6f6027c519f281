#include "fileio/Utf8Check.h"

namespace fwpolicy {

bool Utf8Check::Take(unsigned char byte) {
    if (failed_) {
        return false;
    }
    if (pending_ > 0) {
        if (byte < lowest_ || byte > highest_) {
            return Fail();
        }
        --pending_;
        lowest_ = 0x80;
        highest_ = 0xBF;
        return true;
    }
    if (byte < 0x80) {
        return true;
    }
    if (byte >= 0xC2 && byte <= 0xDF) {
        pending_ = 1;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
        pending_ = 2;
        lowest_ = byte == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
        highest_ = byte == 0xED ? 0x9F : 0xBF;  // no surrogate halves
    } else if (byte >= 0xF0 && byte <= 0xF4) {
        pending_ = 3;
        lowest_ = byte == 0xF0 ? 0x90 : 0x80;   // no overlong forms
        highest_ = byte == 0xF4 ? 0x8F : 0xBF;  // nothing beyond U+10FFFF
    } else {
        return Fail();
    }
    return true;
}

bool IsValidUtf8(const std::string& text) {
    Utf8Check check;
    for (char c : text) {
        if (!check.Take(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return check.Complete();
}

}  // namespace fwpolicy
