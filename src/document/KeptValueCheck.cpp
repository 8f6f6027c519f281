#include "document/KeptValueCheck.h"

#include <climits>
#include <string>

#include <xercesc/util/XMLString.hpp>

namespace fwcommon::document {
namespace {

enum class ValueKind { kTime, kDate, kDateTime };

struct DateTimeElement {
    const XMLCh* name;
    ValueKind kind;
};

const DateTimeElement kDateTimeElements[] = {
    {u"StartTime", ValueKind::kTime},         {u"EndTime", ValueKind::kTime},
    {u"StartDate", ValueKind::kDate},         {u"EndDate", ValueKind::kDate},
    {u"IssueDateTime", ValueKind::kDateTime}, {u"ApplicationDateTime", ValueKind::kDateTime},
};

// The binding keeps seconds to this many decimals.
constexpr std::size_t kKeptDecimals = 6;

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

std::u16string Collapsed(const XMLCh* text) {
    std::u16string value(text ? text : u"");
    const std::size_t first = value.find_first_not_of(u" \t\r\n");
    if (first == std::u16string::npos) {
        return std::u16string();
    }
    std::size_t last = value.size();
    while (last > first && IsSpace(value[last - 1])) {
        --last;
    }
    return value.substr(first, last - first);
}

// Why the year at the start of a date cannot be kept; empty when it can.
std::optional<std::string> YearProblem(const std::u16string& value) {
    if (!value.empty() && value[0] == u'-') {
        return "a year before 1 is not supported";
    }
    unsigned long long year = 0;
    for (std::size_t at = 0; at < value.size() && IsDigit(value[at]); ++at) {
        year = year * 10 + static_cast<unsigned>(value[at] - u'0');
        if (year > static_cast<unsigned long long>(INT_MAX)) {
            return "a year beyond 2147483647 is not supported";
        }
    }
    return std::nullopt;
}

// Why the seconds of "hh:mm:ss[.f]" starting at `at` cannot be kept.
std::optional<std::string> SecondsProblem(const std::u16string& value, std::size_t at) {
    // A text that ends before its seconds is no time at all: the
    // validator refuses it.
    if (at >= value.size()) {
        return std::nullopt;
    }
    if (value.compare(at, 2, u"60") == 0) {
        return "a leap second is not supported";
    }
    if (at + 2 >= value.size() || value[at + 2] != u'.') {
        return std::nullopt;
    }
    std::size_t decimals = 0;
    for (std::size_t i = at + 3; i < value.size() && IsDigit(value[i]); ++i) {
        if (++decimals > kKeptDecimals && value[i] != u'0') {
            return "seconds with more than six decimals are not supported";
        }
    }
    return std::nullopt;
}

// The index of the seconds in a time of day that starts at `at`.
std::size_t SecondsOfTimeAt(std::size_t at) {
    return at + 6;  // "hh:mm:"
}

std::optional<std::string> Problem(ValueKind kind, const std::u16string& value) {
    if (kind == ValueKind::kTime) {
        return SecondsProblem(value, SecondsOfTimeAt(0));
    }
    if (const auto year = YearProblem(value)) {
        return year;
    }
    if (kind == ValueKind::kDateTime) {
        const std::size_t timeStart = value.find(u'T');
        if (timeStart != std::u16string::npos) {
            return SecondsProblem(value, SecondsOfTimeAt(timeStart + 1));
        }
    }
    return std::nullopt;
}

std::wstring Widened(const std::u16string& text) {
    std::wstring wide;
    for (char16_t c : text) {
        wide += static_cast<wchar_t>(c);
    }
    return wide;
}

const DateTimeElement* DateTimeElementNamed(const XMLCh* localName) {
    for (const DateTimeElement& element : kDateTimeElements) {
        if (xercesc::XMLString::equals(localName, element.name)) {
            return &element;
        }
    }
    return nullptr;
}

std::optional<std::wstring> UnkeptValue(const DateTimeElement& element, const XMLCh* text) {
    const std::u16string value = Collapsed(text);
    const auto problem = Problem(element.kind, value);
    if (!problem) {
        return std::nullopt;
    }
    return Widened(element.name) + L" '" + Widened(value) + L"': " +
           std::wstring(problem->begin(), problem->end());
}

}  // namespace

bool HoldsDateOrTime(const XMLCh* localName) {
    return DateTimeElementNamed(localName) != nullptr;
}

std::optional<std::wstring> FindUnkeptValue(const XMLCh* localName, const XMLCh* text) {
    const DateTimeElement* element = DateTimeElementNamed(localName);
    return element ? UnkeptValue(*element, text) : std::nullopt;
}

std::optional<std::wstring> FindUnkeptValue(const xercesc::DOMElement& node) {
    const DateTimeElement* element = DateTimeElementNamed(node.getLocalName());
    return element ? UnkeptValue(*element, node.getTextContent()) : std::nullopt;
}

}  // namespace fwcommon::document
