#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "lint/LintIntervalSet.h"

namespace fwcommon::lint {

using Uint128 = unsigned __int128;

// A set of IPv4 and IPv6 addresses as merged intervals of each family.
// Full only when both families are full.
struct AddressSet {
    IntervalSet<std::uint32_t> v4;
    IntervalSet<Uint128> v6;

    static AddressSet Full() {
        return AddressSet{IntervalSet<std::uint32_t>::Full(), IntervalSet<Uint128>::Full()};
    }
    bool IsEmpty() const { return v4.IsEmpty() && v6.IsEmpty(); }
    bool IsFull() const { return v4.IsFull() && v6.IsFull(); }
    bool IsSubsetOf(const AddressSet& o) const {
        return v4.IsSubsetOf(o.v4) && v6.IsSubsetOf(o.v6);
    }
    void UnionWith(const AddressSet& o) {
        v4.UnionWith(o.v4);
        v6.UnionWith(o.v6);
    }
    AddressSet MinusUpper(const AddressSet& cut) const {
        return AddressSet{v4.Minus(cut.v4), v6.Minus(cut.v6)};
    }
    AddressSet MinusLower(const AddressSet& cut) const { return MinusUpper(cut); }
};

// Interfaces chosen by address: an interface is in the set when it has an
// address in the addresses. Since an interface may have several
// addresses, taking some out is not the difference of the address sets:
// only the upper bound keeps its addresses, the lower bound loses them.
struct InterfaceAddressSet {
    AddressSet addresses;

    static InterfaceAddressSet Full() { return InterfaceAddressSet{AddressSet::Full()}; }
    bool IsEmpty() const { return addresses.IsEmpty(); }
    bool IsFull() const { return addresses.IsFull(); }
    bool IsSubsetOf(const InterfaceAddressSet& o) const {
        return addresses.IsSubsetOf(o.addresses);
    }
    void UnionWith(const InterfaceAddressSet& o) { addresses.UnionWith(o.addresses); }
    InterfaceAddressSet MinusUpper(const InterfaceAddressSet&) const { return *this; }
    InterfaceAddressSet MinusLower(const InterfaceAddressSet& cut) const {
        return cut.IsEmpty() ? *this : InterfaceAddressSet{};
    }
};

// One address of text: "10.0.0.1" or an IPv6 text form.
struct Address {
    bool v6 = false;
    Uint128 value = 0;
};

// The address in text, or nothing when it is no address.
std::optional<Address> ParseAddress(const std::wstring& text);

// The addresses of a network and mask. The mask is an address of the same
// family with contiguous leading ones, or a prefix length ("24"). Nothing
// when the texts are not that (a mask with holes is not an interval set).
std::optional<AddressSet> MaskedNetwork(const std::wstring& net, const std::wstring& mask);

// The addresses from begin to end (empty when end is below begin); nothing
// when the texts are not addresses of one family.
std::optional<AddressSet> AddressRange(const std::wstring& begin, const std::wstring& end);

// One address as a set.
AddressSet SingleAddress(const Address& address);

}  // namespace fwcommon::lint
