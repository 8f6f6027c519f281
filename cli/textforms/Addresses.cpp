#include "Addresses.h"

#include <arpa/inet.h>

#include "TextFormError.h"
#include "TextScan.h"

namespace fwpolicy::textforms {
namespace {

constexpr unsigned long kMaxOctet = 255;
constexpr unsigned kIpv4Bits = 32;
constexpr unsigned kIpv6Bits = 128;
constexpr std::size_t kIpv4Octets = 4;

unsigned BitsOf(AddressFamily family) {
    return family == AddressFamily::IPv4 ? kIpv4Bits : kIpv6Bits;
}

std::string CanonicalText(const IpAddressValue& address) {
    char buffer[INET6_ADDRSTRLEN] = {};
    const int family = address.family == AddressFamily::IPv4 ? AF_INET : AF_INET6;
    inet_ntop(family, address.bytes.data(), buffer, sizeof buffer);
    return buffer;
}

IpAddressValue FromBytes(AddressFamily family, const std::array<std::uint8_t, 16>& bytes) {
    IpAddressValue value;
    value.family = family;
    value.bytes = bytes;
    value.text = CanonicalText(value);
    return value;
}

TextFormError BadAddress(const std::string& text, const std::string& why) {
    return TextFormError("bad address " + Quoted(text) + ": " + why);
}

IpAddressValue ParseIpv4(const std::string& text) {
    const std::vector<std::string> octets = SplitAll(text, '.');
    if (octets.size() != kIpv4Octets)
        throw BadAddress(text, "an IPv4 address has four numbers separated by dots");
    std::array<std::uint8_t, 16> bytes{};
    for (std::size_t i = 0; i < kIpv4Octets; ++i) {
        const auto octet = DecimalNumber(octets[i], kMaxOctet);
        if (!octet || (octets[i].size() > 1 && octets[i][0] == '0'))
            throw BadAddress(text, Quoted(octets[i]) + " is not a number from 0 to 255");
        bytes[i] = static_cast<std::uint8_t>(*octet);
    }
    return FromBytes(AddressFamily::IPv4, bytes);
}

IpAddressValue ParseIpv6(const std::string& text) {
    std::array<std::uint8_t, 16> bytes{};
    if (text.find('%') != std::string::npos)
        throw BadAddress(text, "a zone ('%...') is not allowed in a policy address");
    if (inet_pton(AF_INET6, text.c_str(), bytes.data()) != 1)
        throw BadAddress(text, "not an IPv6 address");
    return FromBytes(AddressFamily::IPv6, bytes);
}

bool BitIsSet(const IpAddressValue& address, unsigned bit) {
    return (address.bytes[bit / 8] >> (7 - bit % 8)) & 1U;
}

IpAddressValue MaskOfPrefix(AddressFamily family, unsigned prefix) {
    std::array<std::uint8_t, 16> bytes{};
    for (unsigned bit = 0; bit < prefix; ++bit)
        bytes[bit / 8] = static_cast<std::uint8_t>(bytes[bit / 8] | (0x80U >> (bit % 8)));
    return FromBytes(family, bytes);
}

// The prefix length of a contiguous mask; throws for any other mask.
unsigned PrefixOfMask(const std::string& whole, const IpAddressValue& mask) {
    const unsigned bits = BitsOf(mask.family);
    unsigned prefix = 0;
    while (prefix < bits && BitIsSet(mask, prefix))
        ++prefix;
    for (unsigned bit = prefix; bit < bits; ++bit) {
        if (BitIsSet(mask, bit))
            throw BadAddress(whole, "mask " + Quoted(mask.text) + " is not contiguous");
    }
    return prefix;
}

void CheckNoHostBits(const std::string& whole, const AddressBlock& block) {
    IpAddressValue network = block.first;
    const unsigned bits = BitsOf(network.family);
    bool hostBits = false;
    for (unsigned bit = block.prefixLength; bit < bits; ++bit) {
        if (BitIsSet(network, bit)) {
            hostBits = true;
            network.bytes[bit / 8] =
                static_cast<std::uint8_t>(network.bytes[bit / 8] & ~(0x80U >> (bit % 8)));
        }
    }
    if (hostBits) {
        throw BadAddress(whole, "host bits are set in " + Quoted(block.first.text) +
                                    "; the network is " + CanonicalText(network) + "/" +
                                    std::to_string(block.prefixLength));
    }
}

AddressBlock ParseNetwork(const std::string& whole, const std::string& address,
                          const std::string& suffix) {
    if (address.empty())
        throw BadAddress(whole, "the network address before '/' is missing");
    AddressBlock block;
    block.kind = AddressBlock::Kind::Network;
    block.first = ParseIpAddress(address);
    const unsigned bits = BitsOf(block.first.family);
    if (suffix.find_first_of(".:") != std::string::npos) {
        const IpAddressValue mask = ParseIpAddress(suffix);
        if (mask.family != block.first.family)
            throw BadAddress(whole, "mask " + Quoted(suffix) + " is of the other address family");
        block.prefixLength = PrefixOfMask(whole, mask);
        block.writtenWithMask = true;
    } else {
        const auto prefix = DecimalNumber(suffix, bits);
        if (!prefix) {
            throw BadAddress(whole, "prefix length " + Quoted(suffix) +
                                        " is not a number from 0 to " + std::to_string(bits));
        }
        block.prefixLength = static_cast<unsigned>(*prefix);
    }
    CheckNoHostBits(whole, block);
    return block;
}

bool NotAfter(const IpAddressValue& a, const IpAddressValue& b) {
    return a.bytes <= b.bytes;  // both of one family: big-endian bytes order as numbers
}

AddressBlock ParseRange(const std::string& whole, const std::string& first,
                        const std::string& last) {
    if (first.empty() || last.empty())
        throw BadAddress(whole, "a range is written FIRST-LAST");
    AddressBlock block;
    block.kind = AddressBlock::Kind::Range;
    block.first = ParseIpAddress(first);
    block.last = ParseIpAddress(last);
    if (block.first.family != block.last.family)
        throw BadAddress(whole, "a range's two ends must both be IPv4 or both IPv6");
    if (!NotAfter(block.first, block.last))
        throw BadAddress(whole, "the range ends (" + block.last.text + ") before it begins");
    return block;
}

}  // namespace

std::string AddressBlock::MaskText() const {
    return MaskOfPrefix(first.family, prefixLength).text;
}

IpAddressValue ParseIpAddress(const std::string& text) {
    if (text.empty())
        throw TextFormError("an address is missing");
    if (text.find(':') != std::string::npos)
        return ParseIpv6(text);
    return ParseIpv4(text);
}

AddressBlock ParseAddressBlock(const std::string& text) {
    if (text.empty())
        throw TextFormError("an address is missing");
    const auto slash = text.find('/');
    if (slash != std::string::npos)
        return ParseNetwork(text, text.substr(0, slash), text.substr(slash + 1));
    const auto dash = text.find('-');
    if (dash != std::string::npos)
        return ParseRange(text, text.substr(0, dash), text.substr(dash + 1));
    AddressBlock block;
    block.first = ParseIpAddress(text);
    return block;
}

AddressBlock NetworkFromMask(const std::string& network, const std::string& mask) {
    return ParseNetwork(network + "/" + mask, network, mask);
}

std::string RenderAddressBlock(const AddressBlock& block) {
    switch (block.kind) {
        case AddressBlock::Kind::Host:
            return block.first.text;
        case AddressBlock::Kind::Network:
            return block.first.text + "/" +
                   (block.writtenWithMask ? block.MaskText() : std::to_string(block.prefixLength));
        case AddressBlock::Kind::Range:
            return block.first.text + "-" + block.last.text;
    }
    return block.first.text;
}

}  // namespace fwpolicy::textforms
