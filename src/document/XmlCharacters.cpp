#include "document/XmlCharacters.h"

#include <cstdio>

namespace fwcommon::document {

bool IsXmlCharacter(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

std::size_t FindNonXmlCharacter(const std::wstring& text) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (!IsXmlCharacter(static_cast<char32_t>(text[at]))) {
            return at;
        }
    }
    return std::wstring::npos;
}

std::string CodePointName(char32_t c) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned int>(c));
    return name;
}

}  // namespace fwcommon::document
