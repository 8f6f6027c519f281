#include "MarkupScan.h"

#include <string_view>

namespace fwpolicy {
namespace {

bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Where the document proper starts: after a UTF-8 byte-order mark and the
// XML declaration, if any.
std::size_t AfterDeclaration(std::string_view text) {
    std::size_t start = 0;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        start = 3;
    if (text.substr(start, 5) == "<?xml" && text.size() > start + 5 &&
        IsXmlSpace(text[start + 5])) {
        const std::size_t end = text.find("?>", start);
        return end == std::string_view::npos ? text.size() : end + 2;
    }
    return start;
}

}  // namespace

bool HoldsCommentsOrInstructions(const std::vector<unsigned char>& bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::size_t at = AfterDeclaration(text);
    while ((at = text.find('<', at)) != std::string_view::npos) {
        const std::string_view rest = text.substr(at);
        if (rest.substr(0, 4) == "<!--" || rest.substr(0, 2) == "<?")
            return true;
        if (rest.substr(0, 9) == "<![CDATA[") {
            const std::size_t end = text.find("]]>", at);
            if (end == std::string_view::npos)
                return false;
            at = end + 3;
            continue;
        }
        ++at;
    }
    return false;
}

}  // namespace fwpolicy
