#pragma once

// Bounds on the shape of a policy document, checked on the raw bytes before
// any XML parser sees them.
//
// Xerces spends time quadratic in the nesting depth (every element looks up
// its namespace prefix through all open elements) and, when it builds a
// DOM, quadratic in the number of attributes of one element. A document of
// a few hundred kilobytes can therefore keep a parser busy for many
// minutes. Policy documents nest about ten levels deep and carry a handful
// of attributes per element, so the bounds below refuse only hostile or
// broken input.
//
// The check reads the markup of documents in UTF-8 (or any ASCII-compatible
// encoding), UTF-16 and UTF-32, with or without a byte-order mark. It skips
// comments, processing instructions, CDATA sections and quoted attribute
// values; it does not check well-formedness, which is the parser's job.
// Documents in other encodings never get here: EncodingGuard refuses them. A document type
// declaration is refused here too, so that one in UTF-16 or UTF-32 gets
// the same clear message as one in UTF-8 (FindDoctype reads only
// ASCII-compatible bytes).

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "document/DoctypeGuard.h"

namespace fwcommon::document {

// Elements nested deeper than this are refused.
constexpr std::size_t kMaxElementDepth = 256;
// An element with more attributes than this (namespace declarations
// included) is refused.
constexpr std::size_t kMaxAttributes = 1024;

// A run of text, an attribute value, a CDATA section, a comment or a
// processing instruction longer than this many characters is refused:
// policy texts are names and addresses, and a text held whole in the parser
// and again in the typed document costs several bytes per character.
constexpr std::size_t kMaxTextLength = 1048576;

// Where the document first breaks a bound, and the message that says so:
// "elements are nested deeper than 256 levels", "an element carries more
// than 1024 attributes", "a text is longer than 1048576 characters" or "a
// DOCTYPE is not allowed in a policy document".
struct LimitBreach {
    TextPosition position;  // of the start tag that breaks the bound
    std::wstring message;
};

// The first breach in document order; empty when the bytes keep within the
// bounds. Linear in the size of the bytes; any thread may call it.
std::optional<LimitBreach> FindMarkupLimitBreach(const std::vector<unsigned char>& bytes);

}  // namespace fwcommon::document
