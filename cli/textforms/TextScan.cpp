#include "TextScan.h"

#include <cctype>

namespace fwpolicy::textforms {

namespace {
constexpr std::size_t kMaxDigits = 18;  // far below overflow of unsigned long
}

std::optional<unsigned long> DecimalNumber(const std::string& text, unsigned long max) {
    if (text.empty() || text.size() > kMaxDigits)
        return std::nullopt;
    unsigned long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<unsigned long>(c - '0');
    }
    if (value > max)
        return std::nullopt;
    return value;
}

std::vector<std::string> SplitAll(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        const auto end = text.find(separator, start);
        if (end == std::string::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

std::string AsciiLower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool MeansAnything(const std::string& text) {
    return text == "*" || AsciiLower(text) == "any";
}

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

}  // namespace fwpolicy::textforms
