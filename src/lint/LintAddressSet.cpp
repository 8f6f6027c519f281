#include "lint/LintAddressSet.h"

#include <arpa/inet.h>

#include <cwctype>

namespace fwcommon::lint {
namespace {

// Address texts are ASCII; anything else is no address.
std::optional<std::string> Narrow(const std::wstring& text) {
    std::string narrow;
    narrow.reserve(text.size());
    for (wchar_t c : text) {
        if (c <= 0 || c > 0x7e) {
            return std::nullopt;
        }
        narrow.push_back(static_cast<char>(c));
    }
    return narrow;
}

std::optional<unsigned> PrefixLength(const std::wstring& text) {
    if (text.empty() || text.size() > 3) {
        return std::nullopt;
    }
    unsigned length = 0;
    for (wchar_t c : text) {
        if (!std::iswdigit(c)) {
            return std::nullopt;
        }
        length = length * 10 + static_cast<unsigned>(c - L'0');
    }
    return length;
}

// All-ones in the high `bits` bits of a family of `width` bits.
Uint128 PrefixMask(unsigned bits, unsigned width) {
    if (bits == 0) {
        return 0;
    }
    const Uint128 ones = width == 128 ? ~Uint128(0) : ((Uint128(1) << width) - 1);
    return (ones << (width - bits)) & ones;
}

// The prefix length of a contiguous mask, or nothing for a mask with holes.
std::optional<unsigned> ContiguousLength(Uint128 mask, unsigned width) {
    for (unsigned bits = 0; bits <= width; ++bits) {
        if (PrefixMask(bits, width) == mask) {
            return bits;
        }
    }
    return std::nullopt;
}

AddressSet Span(bool v6, Uint128 lo, Uint128 hi) {
    AddressSet set;
    if (v6) {
        set.v6 = IntervalSet<Uint128>::Of(lo, hi);
    } else {
        set.v4 = IntervalSet<std::uint32_t>::Of(static_cast<std::uint32_t>(lo),
                                                static_cast<std::uint32_t>(hi));
    }
    return set;
}

}  // namespace

std::optional<Address> ParseAddress(const std::wstring& text) {
    const std::optional<std::string> narrow = Narrow(text);
    if (!narrow) {
        return std::nullopt;
    }
    in_addr v4{};
    if (inet_pton(AF_INET, narrow->c_str(), &v4) == 1) {
        return Address{false, ntohl(v4.s_addr)};
    }
    in6_addr v6{};
    if (inet_pton(AF_INET6, narrow->c_str(), &v6) == 1) {
        Uint128 value = 0;
        for (unsigned char byte : v6.s6_addr) {
            value = (value << 8) | byte;
        }
        return Address{true, value};
    }
    return std::nullopt;
}

AddressSet SingleAddress(const Address& address) {
    return Span(address.v6, address.value, address.value);
}

std::optional<AddressSet> MaskedNetwork(const std::wstring& net, const std::wstring& mask) {
    const std::optional<Address> network = ParseAddress(net);
    if (!network) {
        return std::nullopt;
    }
    const unsigned width = network->v6 ? 128 : 32;
    std::optional<unsigned> bits = PrefixLength(mask);
    if (!bits) {
        const std::optional<Address> maskAddress = ParseAddress(mask);
        if (!maskAddress || maskAddress->v6 != network->v6) {
            return std::nullopt;
        }
        bits = ContiguousLength(maskAddress->value, width);
    }
    if (!bits || *bits > width) {
        return std::nullopt;
    }
    const Uint128 prefix = PrefixMask(*bits, width);
    const Uint128 all = width == 128 ? ~Uint128(0) : ((Uint128(1) << width) - 1);
    const Uint128 lo = network->value & prefix;
    return Span(network->v6, lo, lo | (all & ~prefix));
}

std::optional<AddressSet> AddressRange(const std::wstring& begin, const std::wstring& end) {
    const std::optional<Address> first = ParseAddress(begin);
    const std::optional<Address> last = ParseAddress(end);
    if (!first || !last || first->v6 != last->v6) {
        return std::nullopt;
    }
    return Span(first->v6, first->value, last->value);
}

}  // namespace fwcommon::lint
