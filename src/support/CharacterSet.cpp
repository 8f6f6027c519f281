#include "support/CharacterSet.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace fwcommon::platform {
namespace {

// Codeset of the C locale, used when the C library reports none.
constexpr const char* kFallbackCodeset = "ANSI_X3.4-1968";
// glibc's name for the platform's wchar_t encoding.
constexpr const char* kWideCodeset = "WCHAR_T";

// Owns one iconv descriptor.
class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) {
            iconv_close(handle_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts the whole input; returns the bytes written or nothing.
    std::optional<std::size_t> Run(const char* in, std::size_t inBytes, char* out,
                                   std::size_t outBytes) {
        if (!valid()) {
            return std::nullopt;
        }
        char* src = const_cast<char*>(in);  // iconv's interface is not const-correct
        char* dst = out;
        std::size_t srcLeft = inBytes;
        std::size_t dstLeft = outBytes;
        if (iconv(handle_, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1)) {
            return std::nullopt;
        }
        // Flush a shift state, for codesets that keep one.
        if (iconv(handle_, nullptr, nullptr, &dst, &dstLeft) == static_cast<std::size_t>(-1)) {
            return std::nullopt;
        }
        return outBytes - dstLeft;
    }

private:
    iconv_t handle_;
};

const char* CodesetOrFallback(const std::string& codeset) {
    return codeset.empty() ? kFallbackCodeset : codeset.c_str();
}

}  // namespace

CharacterSettings QueryCharacterSettings(const std::string& localeName) {
    locale_t handle = newlocale(LC_CTYPE_MASK, localeName.c_str(), static_cast<locale_t>(0));
    if (handle == static_cast<locale_t>(0)) {
        throw std::runtime_error("Locale not installed: " + localeName);
    }
    CharacterSettings settings;
    const char* codeset = nl_langinfo_l(CODESET, handle);
    settings.codeset = codeset != nullptr ? codeset : "";
    locale_t previous = uselocale(handle);
    settings.maxBytesPerCharacter = static_cast<int>(MB_CUR_MAX);
    uselocale(previous);
    freelocale(handle);
    return settings;
}

std::optional<std::size_t> NarrowToWide(const std::string& codeset, const char* in,
                                        std::size_t inLength, wchar_t* out,
                                        std::size_t outCapacity) {
    Converter converter(kWideCodeset, CodesetOrFallback(codeset));
    auto bytes =
        converter.Run(in, inLength, reinterpret_cast<char*>(out), outCapacity * sizeof(wchar_t));
    if (!bytes) {
        return std::nullopt;
    }
    return *bytes / sizeof(wchar_t);
}

std::optional<std::size_t> WideToNarrow(const std::string& codeset, const wchar_t* in,
                                        std::size_t inLength, char* out, std::size_t outCapacity) {
    Converter converter(CodesetOrFallback(codeset), kWideCodeset);
    return converter.Run(reinterpret_cast<const char*>(in), inLength * sizeof(wchar_t), out,
                         outCapacity);
}

}  // namespace fwcommon::platform
