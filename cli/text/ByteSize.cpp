#include "text/ByteSize.h"

#include <cctype>
#include <limits>

namespace fwpolicy {
namespace {

std::optional<unsigned> ShiftOfSuffix(const std::string& suffix) {
    if (suffix.empty()) {
        return 0;
    }
    if (suffix.size() != 1) {
        return std::nullopt;
    }
    switch (std::toupper(static_cast<unsigned char>(suffix[0]))) {
        case 'K':
            return 10;
        case 'M':
            return 20;
        case 'G':
            return 30;
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<std::uint64_t> ParseByteSize(const std::string& text) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    std::size_t digits = 0;
    std::uint64_t number = 0;
    for (; digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]));
         ++digits) {
        const unsigned digit = static_cast<unsigned>(text[digits] - '0');
        if (number > (kMax - digit) / 10) {
            return std::nullopt;
        }
        number = number * 10 + digit;
    }
    const std::optional<unsigned> shift = ShiftOfSuffix(text.substr(digits));
    if (digits == 0 || !shift || number > (kMax >> *shift)) {
        return std::nullopt;
    }
    return number << *shift;
}

}  // namespace fwpolicy
