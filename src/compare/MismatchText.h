#pragma once

#include <string>

#include <boost/format.hpp>

namespace fwcommon::tools {

// Fills a message pattern ("%1%" placeholders or printf-style directives)
// with the values in order. Every caller passes exactly as many values as
// its pattern has placeholders.
template <typename... Values>
std::wstring FormatMessage(const wchar_t* pattern, const Values&... values) {
    boost::wformat format(pattern);
    static_cast<void>((format % ... % values));
    return format.str();
}

// Records a difference: replaces the details with the filled pattern and
// gives false, so that comparisons can end with "return Mismatch(...)".
template <typename... Values>
bool Mismatch(std::wstring& details, const wchar_t* pattern, const Values&... values) {
    details = FormatMessage(pattern, values...);
    return false;
}

// The text of an optional number, or "<not present>".
template <typename Optional>
std::wstring OptionalText(const Optional& value) {
    return value.present() ? std::to_wstring(value.get()) : std::wstring(L"<not present>");
}

}  // namespace fwcommon::tools
