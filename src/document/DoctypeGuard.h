#pragma once

#include <optional>
#include <vector>

#include "document/TextPosition.h"

namespace fwcommon::document {

// Finds a document type declaration in the prolog of ASCII-compatible bytes
// (UTF-8 and its relatives): skips the XML declaration, processing
// instructions, comments and white space, and reports where "<!DOCTYPE"
// stands if it comes before the root element.
//
// Policy documents never carry one; the parser refuses it in any encoding,
// but this lets the library say so in words a user understands.
std::optional<TextPosition> FindDoctype(const std::vector<unsigned char>& bytes);

}  // namespace fwcommon::document
