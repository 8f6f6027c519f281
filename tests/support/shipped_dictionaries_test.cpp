// The dictionary files shipped in data/ load without error and hold the
// well-known entries.

#include <fwcommon/IcmpDictionary.h>
#include <fwcommon/PortDictionary.h>
#include <fwcommon/ProtocolDictionary.h>

#include <vector>

#include <gtest/gtest.h>

#include "common/TestFiles.h"

namespace fwcommon {
namespace {

std::wstring DataFile(const char* name) {
    return test::SourcePath(std::string("data/") + name).wstring();
}

TEST(ShippedDictionariesTest, Protocols) {
    const auto& protocols = ProtocolDictionary::Instance();
    ASSERT_NO_THROW(protocols.Initialize(DataFile("protocols.txt")));
    EXPECT_EQ(protocols.GetName(1), L"ICMP");
    EXPECT_EQ(protocols.GetName(6), L"TCP");
    EXPECT_EQ(protocols.GetName(17), L"UDP");
    EXPECT_EQ(protocols.GetDescription(6), L"transmission control protocol");
    std::vector<int> codes;
    protocols.GetCodes(codes);
    EXPECT_GT(codes.size(), 40u);
}

TEST(ShippedDictionariesTest, Services) {
    const auto& ports = PortDictionary::Instance();
    ASSERT_NO_THROW(ports.Initialize(DataFile("services.txt")));
    EXPECT_EQ(ports.GetName(PortDictionary::Tcp, 22), L"ssh");
    EXPECT_EQ(ports.GetName(PortDictionary::Tcp, 80), L"http");
    EXPECT_EQ(ports.GetName(PortDictionary::Udp, 53), L"domain");
    EXPECT_EQ(ports.GetName(PortDictionary::Udp, 22), L"");
}

TEST(ShippedDictionariesTest, Icmp) {
    const auto& icmp = IcmpDictionary::Instance();
    ASSERT_NO_THROW(icmp.Initialize(DataFile("icmp.txt")));
    const auto& types = icmp.GetTypes();
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(types.front(), (IcmpDictionary::Entry{0, L"Echo Reply"}));
    const auto& unreachable = icmp.GetCodes(3);
    ASSERT_EQ(unreachable.size(), 16u);
    EXPECT_EQ(unreachable[3], (IcmpDictionary::Entry{3, L"Port Unreachable"}));
}

}  // namespace
}  // namespace fwcommon
