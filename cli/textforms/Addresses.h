#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace fwpolicy::textforms {

enum class AddressFamily { IPv4, IPv6 };

// One IP address. text is its canonical form (dotted quad, or the
// shortest IPv6 form), which is also what the policy stores.
struct IpAddressValue {
    AddressFamily family = AddressFamily::IPv4;
    std::array<std::uint8_t, 16> bytes{};  // IPv4 uses the first four
    std::string text;

    friend bool operator==(const IpAddressValue& a, const IpAddressValue& b) {
        return a.family == b.family && a.bytes == b.bytes;
    }
};

// A host, a network or a range of addresses, as an administrator writes
// it: "10.1.0.5", "10.1.0.0/24", "10.1.0.0/255.255.255.0",
// "10.1.0.10-10.1.0.19", and the same with IPv6 addresses.
struct AddressBlock {
    enum class Kind { Host, Network, Range };
    Kind kind = Kind::Host;
    IpAddressValue first;          // the host, the network address or the range's first address
    IpAddressValue last;           // the range's last address (Range only)
    unsigned prefixLength = 0;     // Network only
    bool writtenWithMask = false;  // a Network given as NET/MASK renders back that way

    // The network mask as address text ("255.255.255.0"); Network only.
    std::string MaskText() const;
};

// One address in either family. Throws TextFormError naming the bad part.
IpAddressValue ParseIpAddress(const std::string& text);

// Host, network or range. Throws TextFormError naming the bad part: a
// bad address, a prefix out of range, a mask that is not contiguous, host
// bits set in a network address, a range that ends before it begins or
// mixes families.
AddressBlock ParseAddressBlock(const std::string& text);

// The network given by its address and mask texts, as a policy stores it;
// throws TextFormError as ParseAddressBlock does.
AddressBlock NetworkFromMask(const std::string& network, const std::string& mask);

// The text ParseAddressBlock reads back to the same block.
std::string RenderAddressBlock(const AddressBlock& block);

}  // namespace fwpolicy::textforms
