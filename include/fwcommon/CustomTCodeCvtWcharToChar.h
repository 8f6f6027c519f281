#pragma once

#include <cstddef>
#include <cwchar>
#include <locale>
#include <string>

#include <fwcommon/export.h>

namespace tools2 {

// The wchar_t/char conversion facet that StringUtilities installs in a copy
// of the caller's locale. It converts with the character set of the named
// locale's LC_CTYPE category through iconv and, whenever that shortcut
// does not give one wide character per byte (or one byte per wide
// character), falls back to the standard by-name facet of the same
// locale, whose result it returns.
//
// The character settings (codeset, maximum bytes per character) are read
// from the C library once, when the facet is built. Construction throws
// std::runtime_error when the locale is not installed. Like every facet it
// is owned by the locales it is installed in (refs 0) and may be used from
// any thread.
class FWCOMMON_EXPORT CustomTCodeCvtWcharToChar
    : public std::codecvt_byname<wchar_t, char, std::mbstate_t> {
public:
    explicit CustomTCodeCvtWcharToChar(const std::string& localeName, std::size_t refs = 0);

    const std::string& LocaleName() const { return localeName_; }
    const std::string& Codeset() const { return codeset_; }

protected:
    ~CustomTCodeCvtWcharToChar() override;

    result do_in(state_type& state, const extern_type* from, const extern_type* fromEnd,
                 const extern_type*& fromNext, intern_type* to, intern_type* toEnd,
                 intern_type*& toNext) const override;
    result do_out(state_type& state, const intern_type* from, const intern_type* fromEnd,
                  const intern_type*& fromNext, extern_type* to, extern_type* toEnd,
                  extern_type*& toNext) const override;
    // The locale's maximum number of bytes per character.
    int do_max_length() const noexcept override;

private:
    std::string localeName_;
    std::string codeset_;
    int maxBytesPerCharacter_;
};

}  // namespace tools2
