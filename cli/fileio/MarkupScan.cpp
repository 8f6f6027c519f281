#include "fileio/MarkupScan.h"

#include <algorithm>
#include <charconv>
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

// Where the markup that starts at `at` ends; the document type's internal
// subset in brackets is skipped whole.
std::size_t AfterMarkup(std::string_view text, std::size_t at) {
    const std::string_view rest = text.substr(at);
    std::size_t end = std::string_view::npos;
    if (rest.substr(0, 4) == "<!--") {
        end = text.find("-->", at + 4);
        return end == std::string_view::npos ? text.size() : end + 3;
    }
    if (rest.substr(0, 2) == "<?") {
        end = text.find("?>", at + 2);
        return end == std::string_view::npos ? text.size() : end + 2;
    }
    const std::size_t bracket = text.find('[', at);
    end = text.find('>', at);
    if (bracket != std::string_view::npos && bracket < end) {
        const std::size_t closed = text.find(']', bracket);
        end = closed == std::string_view::npos ? closed : text.find('>', closed);
    }
    return end == std::string_view::npos ? text.size() : end + 1;
}

}  // namespace

std::string DocumentElementName(const std::vector<unsigned char>& bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::size_t at = AfterDeclaration(text);
    while ((at = text.find('<', at)) != std::string_view::npos) {
        if (at + 1 < text.size() && (text[at + 1] == '!' || text[at + 1] == '?')) {
            at = AfterMarkup(text, at);
            continue;
        }
        std::size_t end = at + 1;
        while (end < text.size() && !IsXmlSpace(text[end]) && text[end] != '>' && text[end] != '/')
            ++end;
        const std::string_view name = text.substr(at + 1, end - at - 1);
        const std::size_t colon = name.find(':');
        return std::string(colon == std::string_view::npos ? name : name.substr(colon + 1));
    }
    return "";
}

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

std::vector<long long> WrittenRuleIds(const std::vector<unsigned char>& bytes) {
    static const std::string_view kOpen = "<RuleId>";
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::vector<long long> values;
    for (std::size_t at = text.find(kOpen); at != std::string_view::npos;
         at = text.find(kOpen, at + kOpen.size())) {
        const char* first = text.data() + at + kOpen.size();
        const char* last = text.data() + text.size();
        long long value = 0;
        const auto [end, error] = std::from_chars(first, last, value);
        if (error == std::errc() && end != last && *end == '<')
            values.push_back(value);
    }
    return values;
}

std::vector<long long> RuleIdValues(const std::vector<unsigned char>& bytes) {
    static const std::string kOpen = "<RuleId";
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::vector<long long> values;
    for (std::size_t at = text.find(kOpen); at != std::string_view::npos;
         at = text.find(kOpen, at + 1)) {
        std::size_t i = at + kOpen.size();
        while (i < text.size() && IsXmlSpace(text[i]))
            ++i;
        if (i >= text.size() || text[i] != '>')
            continue;  // another name that begins so, or an attribute
        ++i;
        while (i < text.size() && IsXmlSpace(text[i]))
            ++i;
        const bool negative = i < text.size() && text[i] == '-';
        if (negative)
            ++i;
        long long value = 0;
        std::size_t digits = 0;
        constexpr std::size_t kMostDigits = 18;  // no overflow of long long
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < kMostDigits;
             ++i, ++digits)
            value = value * 10 + (text[i] - '0');
        if (digits > 0)
            values.push_back(negative ? -value : value);
    }
    std::sort(values.begin(), values.end());
    return values;
}

}  // namespace fwpolicy
