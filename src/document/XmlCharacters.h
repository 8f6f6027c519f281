#pragma once

// The characters an XML 1.0 document can carry: tab, line feed, carriage
// return, U+0020 to U+D7FF, U+E000 to U+FFFD and U+10000 to U+10FFFF.
// Everything else (NUL and the other C0 controls, surrogate halves,
// U+FFFE, U+FFFF and values beyond U+10FFFF) has no representation in a
// policy document, not even as a character reference.

#include <cstddef>
#include <string>

namespace fwcommon::document {

bool IsXmlCharacter(char32_t c);

// The index of the first character of text that XML 1.0 cannot carry,
// std::wstring::npos when there is none. Any thread may call it.
std::size_t FindNonXmlCharacter(const std::wstring& text);

// "U+0001", "U+D800", "U+110000": how messages name a character.
std::string CodePointName(char32_t c);

}  // namespace fwcommon::document
