#include <fwcommon/StringUtilities.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

#include <fwcommon/CustomTCodeCvtWcharToChar.h>

namespace fwcommon {
namespace {

// The texts of the system object types, indexed by value.
const wchar_t* const kSystemObjectTexts[kSystemObjectTypeCount] = {
    L"BroadCast",  L"LocalHost",        L"OtherHost",       L"AllCoordinators",
    L"AllClients", L"TunneledIP",       L"InternetGateway", L"Multicast",
    L"All",        L"MyNetwork",        L"OtherNetwork",    L"MyVPN",
    L"OtherVPN",   L"PrivateNetworkIP", L"InternetIP",
};

using CodeCvt = std::codecvt<wchar_t, char, std::mbstate_t>;

// The C library's text for an errno value, or nothing for a value it does
// not know (rather than its "Unknown error N").
const char* SystemErrorText(std::uint32_t code) {
    return strerrordesc_np(static_cast<int>(code));
}

// The name of the locale's LC_CTYPE category: the whole name for a locale
// named as one piece, the LC_CTYPE part of a combined name, and empty for
// a locale without a name.
std::string CtypeName(const std::locale& locale) {
    const std::string name = locale.name();
    if (name == "*") {
        return std::string();
    }
    const std::string key = "LC_CTYPE=";
    auto start = name.find(key);
    if (start == std::string::npos) {
        return name;
    }
    start += key.size();
    auto end = name.find(';', start);
    return name.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// A copy of the locale with our facet in place of its wchar_t/char
// conversion. A locale without a name keeps its own conversion facet.
std::locale PrepareLocale(const std::locale& locale) {
    const std::string name = CtypeName(locale);
    if (name.empty()) {
        return locale;
    }
    return std::locale(locale, new tools2::CustomTCodeCvtWcharToChar(name));
}

// Converts the whole input at once. On failure the output is the whole
// buffer filled with "?".
CodeCvt::result ConvertWideAtOnce(const CodeCvt& facet, const wchar_t* begin, const wchar_t* end,
                                  std::string& out) {
    if (begin == end) {
        out.clear();
        return CodeCvt::ok;
    }
    const auto maxBytes = static_cast<std::size_t>(std::max(facet.max_length(), 1));
    std::vector<char> buffer(maxBytes * static_cast<std::size_t>(end - begin));
    std::mbstate_t state{};
    const wchar_t* fromNext = begin;
    char* toNext = buffer.data();
    auto result = facet.out(state, begin, end, fromNext, buffer.data(),
                            buffer.data() + buffer.size(), toNext);
    if (result == CodeCvt::ok) {
        out.assign(buffer.data(), toNext);
    } else {
        out.assign(buffer.size(), '?');
    }
    return result;
}

std::locale MakeUserDefaultLocale() {
    std::locale environment = std::locale::classic();
    try {
        environment = std::locale("");
    } catch (const std::runtime_error&) {
        // The environment names a locale that is not installed.
    }
    const std::string ctype = CtypeName(environment);
    if (ctype != "C" && ctype != "POSIX") {
        return environment;
    }
    for (const char* utf8 : {"C.UTF-8", "C.utf8"}) {
        try {
            return std::locale(environment, std::locale(utf8), std::locale::ctype);
        } catch (const std::runtime_error&) {
            // Try the next spelling.
        }
    }
    return environment;
}

}  // namespace

std::string StringUtilities::GetErrorString(const char* functionName, const std::string& details,
                                            std::uint32_t systemErrorCode) {
    std::string text = functionName != nullptr ? functionName : "";
    if (!text.empty()) {
        text += '.';
    }
    text += details;
    if (systemErrorCode != 0) {
        if (const char* system = SystemErrorText(systemErrorCode)) {
            text += system;
        }
    }
    return text;
}

std::string StringUtilities::GetErrorString(const char* functionName, const std::wstring& details,
                                            std::uint32_t systemErrorCode) {
    std::string narrow;
    WideStringToMultiByteString(details, narrow, UserDefaultLocale());
    return GetErrorString(functionName, narrow, systemErrorCode);
}

void StringUtilities::MultiByteStringToWideString(const std::string& in, std::wstring& out,
                                                  const std::locale& locale) {
    if (in.empty()) {
        out.clear();
        return;
    }
    const std::locale prepared = PrepareLocale(locale);
    const auto& facet = std::use_facet<CodeCvt>(prepared);
    std::vector<wchar_t> buffer(in.size());
    std::mbstate_t state{};
    const char* fromNext = in.data();
    wchar_t* toNext = buffer.data();
    auto result = facet.in(state, in.data(), in.data() + in.size(), fromNext, buffer.data(),
                           buffer.data() + buffer.size(), toNext);
    if (result == CodeCvt::ok) {
        out.assign(buffer.data(), toNext);
    } else {
        out.assign(in.size(), L'?');
    }
}

void StringUtilities::WideStringToMultiByteString(const std::wstring& in, std::string& out,
                                                  const std::locale& locale) {
    const std::locale prepared = PrepareLocale(locale);
    const auto& facet = std::use_facet<CodeCvt>(prepared);
    std::string converted;
    if (ConvertWideAtOnce(facet, in.data(), in.data() + in.size(), converted) == CodeCvt::ok) {
        out = std::move(converted);
        return;
    }
    out.clear();
    for (const wchar_t& character : in) {
        std::string piece;
        ConvertWideAtOnce(facet, &character, &character + 1, piece);
        out += piece;
    }
}

std::wstring StringUtilities::GetSystemType(SystemObjectTypes type) {
    if (type < 0 || type >= kSystemObjectTypeCount) {
        throw std::out_of_range(GetErrorString("fwcommon::StringUtilities::GetSystemType",
                                               "System object type out of range"));
    }
    return kSystemObjectTexts[type];
}

SystemObjectTypes StringUtilities::GetSystemType(const std::wstring& text) {
    for (std::int32_t index = 0; index < kSystemObjectTypeCount; ++index) {
        if (text == kSystemObjectTexts[index]) {
            return static_cast<SystemObjectTypes>(index);
        }
    }
    throw std::runtime_error(
        "Application function: NamedObject::GetSystemType. Details: An unknown named object "
        "type.");
}

const std::locale& StringUtilities::UserDefaultLocale() {
    static const std::locale locale = MakeUserDefaultLocale();
    return locale;
}

}  // namespace fwcommon
