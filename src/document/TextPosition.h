#pragma once

#include <cstddef>
#include <vector>

namespace fwcommon::document {

// A place in a document as diagnostics name it, line and column from 1.
struct TextPosition {
    unsigned long line;
    unsigned long column;
};

// What a column counts: bytes, or the characters of well-formed UTF-8.
enum class Columns { kBytes, kCharacters };

// The position of the byte at `at` (at most bytes.size()). Counting
// characters takes the bytes before it, on its line, to be well-formed
// UTF-8. Linear in `at`; any thread may call it.
TextPosition PositionOf(const std::vector<unsigned char>& bytes, std::size_t at, Columns columns);

}  // namespace fwcommon::document
