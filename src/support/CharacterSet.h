#pragma once

// Our small layer over the C library's locale data and iconv: the
// character set of a named locale and whole-buffer conversions between it
// and wchar_t. Used by tools2::CustomTCodeCvtWcharToChar.

#include <cstddef>
#include <optional>
#include <string>

namespace fwcommon::platform {

// The character settings of a locale's LC_CTYPE category.
struct CharacterSettings {
    std::string codeset;       // iconv name, e.g. "UTF-8", "ANSI_X3.4-1968"
    int maxBytesPerCharacter;  // MB_CUR_MAX under that locale
};

// Reads the settings of an installed locale ("C", "C.UTF-8", "de_DE.UTF-8").
// Throws std::runtime_error when the C library does not know the name.
CharacterSettings QueryCharacterSettings(const std::string& localeName);

// Converts inLength bytes of the codeset into at most outCapacity wide
// characters. Returns the number of characters written, or nothing when
// the input holds a sequence the codeset does not define, ends inside a
// sequence, needs more room than given, or the codeset is unknown.
std::optional<std::size_t> NarrowToWide(const std::string& codeset, const char* in,
                                        std::size_t inLength, wchar_t* out,
                                        std::size_t outCapacity);

// Converts inLength wide characters into at most outCapacity bytes of the
// codeset. Returns the number of bytes written, or nothing when a
// character has no representation in the codeset (no replacement
// character is substituted), the room is too small or the codeset is
// unknown.
std::optional<std::size_t> WideToNarrow(const std::string& codeset, const wchar_t* in,
                                        std::size_t inLength, char* out, std::size_t outCapacity);

}  // namespace fwcommon::platform
