#pragma once

// A policy document is UTF-8. Xerces decodes its input ahead of the scanner,
// so the line and column it gives a malformed sequence are where the scanner
// stood, often lines before the sequence, and its message names the byte
// only as a replacement character; it also takes lead bytes above 0xF4,
// which UTF-8 does not have, and drops what they stand for when the document
// is written again. The bytes are therefore checked before any parser sees
// them.

#include <optional>
#include <string>
#include <vector>

#include "document/TextPosition.h"

namespace fwcommon::document {

// The first sequence of bytes that is not well-formed UTF-8.
struct Utf8Fault {
    TextPosition position;  // of its first byte; columns count characters
    std::wstring message;   // "the bytes 0xC3 0x28 are not valid UTF-8; ..."
};

// Empty when all of the bytes are well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF). Linear in the size of the bytes; any
// thread may call it.
std::optional<Utf8Fault> FindInvalidUtf8(const std::vector<unsigned char>& bytes);

}  // namespace fwcommon::document
