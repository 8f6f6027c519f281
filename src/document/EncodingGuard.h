#pragma once

// Policy documents are UTF-8 XML 1.0. Xerces would read many other
// encodings (UTF-16, UTF-32, EBCDIC code pages, UTF-7, anything its
// transcoder knows) and XML 1.1, and the checks that run on the raw bytes
// before the parser (the DOCTYPE guard and the markup limits) read only
// ASCII-compatible bytes; so a document in anything else is refused here,
// before any parser sees it.

#include <optional>
#include <string>
#include <vector>

namespace fwcommon::document {

// Why the bytes are not a UTF-8 XML 1.0 document, from their start alone:
// a byte-order mark other than UTF-8's, the signature of a 16- or 32-bit
// or EBCDIC encoding, an XML declaration naming an encoding other than
// UTF-8, or naming a version other than 1.0. Empty when the start is
// acceptable; whether the rest is well-formed UTF-8 is Utf8Guard.h's to
// tell. Reads at most the XML declaration; any thread may call it.
std::optional<std::wstring> FindEncodingRefusal(const std::vector<unsigned char>& bytes);

}  // namespace fwcommon::document
