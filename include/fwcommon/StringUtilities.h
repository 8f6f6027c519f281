#pragma once

// Error-message composition, narrow/wide conversion under a locale and the
// texts of the system object types. Static operations only; any thread
// may call them.

#include <cstdint>
#include <locale>
#include <string>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/export.h>

namespace fwcommon {

class FWCOMMON_EXPORT StringUtilities {
public:
    StringUtilities() = delete;

    // Joins the function name and the details with one full stop ("." is
    // left out when the name is empty or null) and, when systemErrorCode
    // is not 0, appends the C library's text for that errno value exactly
    // as it gives it; a code the C library does not know adds nothing.
    // Details that begin with a full stop therefore give two in a row.
    static std::string GetErrorString(const char* functionName, const std::string& details,
                                      std::uint32_t systemErrorCode = 0);
    // As above; the details are first converted with
    // WideStringToMultiByteString under UserDefaultLocale().
    static std::string GetErrorString(const char* functionName, const std::wstring& details,
                                      std::uint32_t systemErrorCode = 0);

    // Narrow to wide under the locale's character set (through
    // tools2::CustomTCodeCvtWcharToChar). Never throws for bad input: when
    // any byte sequence cannot be converted, the whole output is one "?"
    // per input byte.
    static void MultiByteStringToWideString(const std::string& in, std::wstring& out,
                                            const std::locale& locale = UserDefaultLocale());
    // Wide to narrow under the locale's character set. When the whole
    // string cannot be converted it is converted again one character at a
    // time, and each character that cannot be converted becomes as many
    // "?" as the locale's maximum bytes per character (one for a
    // single-byte character set). Never throws for bad input.
    static void WideStringToMultiByteString(const std::wstring& in, std::string& out,
                                            const std::locale& locale = UserDefaultLocale());

    // The text of a system object type ("BroadCast" ... "InternetIP").
    // Throws std::out_of_range for a value outside 0..14.
    static std::wstring GetSystemType(SystemObjectTypes type);
    // The type whose text equals the argument exactly (case matters).
    // Throws std::runtime_error "Application function:
    // NamedObject::GetSystemType. Details: An unknown named object type."
    // for any other text.
    static SystemObjectTypes GetSystemType(const std::wstring& text);

    // The user's default locale: the environment's (LC_ALL, LC_CTYPE,
    // LANG). Where that is "C" or "POSIX", or names a locale that is not
    // installed, the C locale with UTF-8 text ("C.UTF-8") is used instead,
    // so that non-ASCII names survive on a default Linux system; if even
    // that is missing, the classic locale. Determined once per process.
    static const std::locale& UserDefaultLocale();
};

}  // namespace fwcommon
