#include <gtest/gtest.h>

#include "Addresses.h"
#include "Refusals.h"
#include "TextFormError.h"

namespace fwpolicy::textforms {
namespace {

struct GoodAddress {
    std::string text;
    AddressBlock::Kind kind;
    std::string rendered;
    std::string mask;  // networks only
};

TEST(AddressBlockText, GoodFormsParseAndRenderBackToPasteableText) {
    const GoodAddress rows[] = {
        {"10.1.0.5", AddressBlock::Kind::Host, "10.1.0.5", ""},
        {"0.0.0.0", AddressBlock::Kind::Host, "0.0.0.0", ""},
        {"255.255.255.255", AddressBlock::Kind::Host, "255.255.255.255", ""},
        {"10.1.0.0/24", AddressBlock::Kind::Network, "10.1.0.0/24", "255.255.255.0"},
        {"10.1.0.0/255.255.255.0", AddressBlock::Kind::Network, "10.1.0.0/255.255.255.0",
         "255.255.255.0"},
        {"0.0.0.0/0", AddressBlock::Kind::Network, "0.0.0.0/0", "0.0.0.0"},
        {"10.1.0.5/32", AddressBlock::Kind::Network, "10.1.0.5/32", "255.255.255.255"},
        {"172.16.0.0/255.240.0.0", AddressBlock::Kind::Network, "172.16.0.0/255.240.0.0",
         "255.240.0.0"},
        {"10.1.0.10-10.1.0.19", AddressBlock::Kind::Range, "10.1.0.10-10.1.0.19", ""},
        {"10.1.0.10-10.1.0.10", AddressBlock::Kind::Range, "10.1.0.10-10.1.0.10", ""},
        {"9.255.255.255-10.0.0.0", AddressBlock::Kind::Range, "9.255.255.255-10.0.0.0", ""},
        {"2001:db8::1", AddressBlock::Kind::Host, "2001:db8::1", ""},
        {"2001:DB8:0:0::1", AddressBlock::Kind::Host, "2001:db8::1", ""},
        {"2001:db8::/32", AddressBlock::Kind::Network, "2001:db8::/32", "ffff:ffff::"},
        {"fe80::/ffc0::", AddressBlock::Kind::Network, "fe80::/ffc0::", "ffc0::"},
        {"2001:db8::10-2001:db8::1f", AddressBlock::Kind::Range, "2001:db8::10-2001:db8::1f", ""},
        {"::ffff:10.0.0.1", AddressBlock::Kind::Host, "::ffff:10.0.0.1", ""},
    };
    for (const GoodAddress& row : rows) {
        SCOPED_TRACE(row.text);
        const AddressBlock block = ParseAddressBlock(row.text);
        EXPECT_EQ(block.kind, row.kind);
        EXPECT_EQ(RenderAddressBlock(block), row.rendered);
        if (row.kind == AddressBlock::Kind::Network) {
            EXPECT_EQ(block.MaskText(), row.mask);
        }
        EXPECT_EQ(RenderAddressBlock(ParseAddressBlock(row.rendered)), row.rendered);
    }
}

TEST(AddressBlockText, BadFormsAreRefusedNamingTheBadPart) {
    const BadText rows[] = {
        {"", "an address is missing"},
        {"10.1.0.300", "bad address '10.1.0.300': '300' is not a number from 0 to 255"},
        {"10.1.0", "bad address '10.1.0': an IPv4 address has four numbers separated by dots"},
        {"10.1.0.0.1",
         "bad address '10.1.0.0.1': an IPv4 address has four numbers separated by dots"},
        {"10.01.0.1", "bad address '10.01.0.1': '01' is not a number from 0 to 255"},
        {"10.1..1", "bad address '10.1..1': '' is not a number from 0 to 255"},
        {"10.1.0.-1", "bad address '10.1.0.': '' is not a number from 0 to 255"},
        {"10.1.0.0/33",
         "bad address '10.1.0.0/33': prefix length '33' is not a number from 0 to 32"},
        {"10.1.0.0/", "bad address '10.1.0.0/': prefix length '' is not a number from 0 to 32"},
        {"10.1.0.0/2x",
         "bad address '10.1.0.0/2x': prefix length '2x' is not a number from 0 to 32"},
        {"10.1.0.5/24",
         "bad address '10.1.0.5/24': host bits are set in '10.1.0.5'; the network is 10.1.0.0/24"},
        {"10.1.0.0/255.0.255.0",
         "bad address '10.1.0.0/255.0.255.0': mask '255.0.255.0' is not contiguous"},
        {"10.1.0.0/255.255.256.0",
         "bad address '255.255.256.0': '256' is not a number from 0 to 255"},
        {"10.1.0.0/ffff::",
         "bad address '10.1.0.0/ffff::': mask 'ffff::' is of the other address family"},
        {"2001:db8::/129",
         "bad address '2001:db8::/129': prefix length '129' is not a number from 0 to 128"},
        {"2001:db8::1/64",
         "bad address '2001:db8::1/64': host bits are set in '2001:db8::1'; the network is "
         "2001:db8::/64"},
        {"2001:db8:::1", "bad address '2001:db8:::1': not an IPv6 address"},
        {"fe80::1%eth0",
         "bad address 'fe80::1%eth0': a zone ('%...') is not allowed in a policy address"},
        {"10.1.0.19-10.1.0.10",
         "bad address '10.1.0.19-10.1.0.10': the range ends (10.1.0.10) before it begins"},
        {"10.1.0.1-2001:db8::1",
         "bad address '10.1.0.1-2001:db8::1': a range's two ends must both be IPv4 or both IPv6"},
        {"10.1.0.1-", "bad address '10.1.0.1-': a range is written FIRST-LAST"},
        {"/24", "bad address '/24': the network address before '/' is missing"},
    };
    ExpectRefusals(rows, [](const std::string& text) { (void)ParseAddressBlock(text); });
}

TEST(AddressBlockText, StoredNetworkAndMaskReadAsTheNetworkTheyName) {
    const AddressBlock block = NetworkFromMask("192.168.10.0", "255.255.254.0");
    EXPECT_EQ(block.prefixLength, 23U);
    EXPECT_EQ(RenderAddressBlock(block), "192.168.10.0/255.255.254.0");
    EXPECT_THROW(NetworkFromMask("192.168.10.0", "255.255.0.255"), TextFormError);
}

TEST(AddressText, SingleAddressesOfBothFamiliesHaveCanonicalText) {
    EXPECT_EQ(ParseIpAddress("203.0.113.7").text, "203.0.113.7");
    EXPECT_EQ(ParseIpAddress("2001:0db8:0000::0001").text, "2001:db8::1");
    EXPECT_THROW(ParseIpAddress("10.1.0.0/24"), TextFormError);
}

}  // namespace
}  // namespace fwpolicy::textforms
