#pragma once

// XML has no NUL character. Xerces refuses one inside the root element, but
// after the root it takes a NUL for the end of the input: trailing NULs, and
// any bytes after them (another root, garbage), would pass unseen. The bytes
// are therefore checked for NULs before any parser sees them.

#include <optional>
#include <vector>

#include "document/TextPosition.h"

namespace fwcommon::document {

// Where the first NUL byte stands (line and column from 1, columns counting
// bytes); empty when there is none. Linear in the size of the bytes; any
// thread may call it.
std::optional<TextPosition> FindNulByte(const std::vector<unsigned char>& bytes);

}  // namespace fwcommon::document
