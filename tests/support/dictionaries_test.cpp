#include <fwcommon/DictionaryFormatError.h>
#include <fwcommon/IcmpDictionary.h>
#include <fwcommon/PortDictionary.h>
#include <fwcommon/ProtocolDictionary.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/lexical_cast.hpp>

#include "common/TestFiles.h"
#include "common/Thrown.h"

namespace fwcommon {
namespace {

using test::TempDir;
using test::ToBytes;
using test::WriteBytes;

const char* const kBadCast =
    "bad lexical cast: source type value could not be interpreted as target";

// Writes a dictionary file and returns its path as the library takes it.
std::wstring WriteFile(const TempDir& dir, const std::string& name, const std::string& text) {
    const auto path = dir.path() / name;
    WriteBytes(path, ToBytes(text));
    return path.wstring();
}

template <typename Call>
void ExpectBadCast(Call call, const char* what) {
    EXPECT_EQ(kBadCast, test::Thrown<boost::bad_lexical_cast>(call)) << what;
}

// The protocol dictionary reads only while it is empty, so its whole story
// runs in one test, in order.
TEST(ProtocolDictionaryTest, FileGrammarAndFirstFillOnly) {
    TempDir dir;
    const auto& protocols = ProtocolDictionary::Instance();
    EXPECT_EQ(&protocols, &ProtocolDictionary::Instance());

    protocols.Initialize((dir.path() / "missing.txt").wstring());
    std::vector<int> codes;
    protocols.GetCodes(codes);
    EXPECT_TRUE(codes.empty());

    // One blank does not split: the whole line is the number field.
    ExpectBadCast([&] { protocols.Initialize(WriteFile(dir, "one-blank.txt", "6 TCP\n")); },
                  "6 TCP");
    protocols.GetCodes(codes);
    EXPECT_TRUE(codes.empty());

    const std::string text =
        "# Assigned Internet Protocol Numbers\n"
        "\n"
        "   \n"
        "   # indented comment\n"
        "17  UDP  User Datagram\n"
        "6  TCP  Transmission Control  (RFC 793)\n"
        "1  ICMP\n"
        "6  DUPLICATE  later lines lose\n"
        "\xEF\xBB\xBF"
        "2  IGMP  not a BOM here, a bad number\n"
        "47  GRE  never read\n";
    ExpectBadCast([&] { protocols.Initialize(WriteFile(dir, "protocols.txt", text)); },
                  "line after the good ones");
    EXPECT_EQ(protocols.GetName(6), L"TCP");
    EXPECT_EQ(protocols.GetDescription(6), L"Transmission Control  (RFC 793)");
    EXPECT_EQ(protocols.GetName(17), L"UDP");
    EXPECT_EQ(protocols.GetDescription(17), L"User Datagram");
    EXPECT_EQ(protocols.GetName(1), L"ICMP");
    EXPECT_EQ(protocols.GetDescription(1), L"");
    EXPECT_EQ(protocols.GetName(47), L"");
    EXPECT_EQ(protocols.GetDescription(250), L"");

    codes = {99};
    protocols.GetCodes(codes);
    EXPECT_EQ(codes, (std::vector<int>{99, 1, 6, 17}));

    // Filled: further files are not read.
    protocols.Initialize(WriteFile(dir, "more.txt", "47  GRE  Generic Routing\n"));
    EXPECT_EQ(protocols.GetName(47), L"");
}

TEST(PortDictionaryTest, FileGrammar) {
    TempDir dir;
    const auto& ports = PortDictionary::Instance();
    const std::string text =
        "\xEF\xBB\xBF# services\r\n"
        "http  80/tcp  www  # WorldWideWeb HTTP\r\n"
        "domain  53/udp\r\n"
        "domain  53/TCP\r\n"
        "  # comment after blanks\r\n"
        "http-alt  80/tcp\r\n"
        "ddp  37/ddp\r\n"
        "no-protocol  38\r\n"
        "kerberos v5  88/Udp\r\n";
    ports.Initialize(WriteFile(dir, "services.txt", text));

    struct Case {
        PortDictionary::TransportProtocol protocol;
        int port;
        std::wstring name;
    };
    const Case cases[] = {
        {PortDictionary::Tcp, 80, L"http"},
        {PortDictionary::Udp, 80, L""},
        {PortDictionary::Udp, 53, L"domain"},
        {PortDictionary::Tcp, 53, L"domain"},
        {PortDictionary::Tcp, 37, L""},
        {PortDictionary::Udp, 37, L""},
        {PortDictionary::Tcp, 38, L""},
        {PortDictionary::Udp, 88, L"kerberos v5"},
        {static_cast<PortDictionary::TransportProtocol>(7), 88, L"kerberos v5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ports.GetName(c.protocol, c.port), c.name)
            << "protocol " << c.protocol << " port " << c.port;
        EXPECT_EQ(ports.GetDescription(c.protocol, c.port), c.name)
            << "protocol " << c.protocol << " port " << c.port;
    }
    std::vector<int> tcp;
    ports.GetCodes(PortDictionary::Tcp, tcp);
    EXPECT_EQ(tcp, (std::vector<int>{53, 80}));

    // A later file adds to what is there.
    ports.Initialize(WriteFile(dir, "more.txt", "ssh  22/tcp\nhttp-other  80/tcp\n"));
    EXPECT_EQ(ports.GetName(PortDictionary::Tcp, 22), L"ssh");
    EXPECT_EQ(ports.GetName(PortDictionary::Tcp, 80), L"http");

    ExpectBadCast([&] { ports.Initialize(WriteFile(dir, "bad.txt", "x  23/tcp\ny  port/tcp\n")); },
                  "port/tcp");
    EXPECT_EQ(ports.GetName(PortDictionary::Tcp, 23), L"x");
}

TEST(IcmpDictionaryTest, Sections) {
    TempDir dir;
    const auto& icmp = IcmpDictionary::Instance();
    const std::string text =
        "3  1  Host Unreachable\n"
        "# == ICMP Type ==\n"
        "0  Echo Reply\n"
        "  # a comment\n"
        "8  Echo  Request\n"
        "# == ICMP Code ==\n"
        "3  0  Net Unreachable\n"
        "3  1  Host Unreachable\n"
        "5  0\n"
        "42  7  Type never listed\n";
    icmp.Initialize(WriteFile(dir, "icmp.txt", text));

    using Entries = IcmpDictionary::Entries;
    EXPECT_EQ(icmp.GetTypes(),
              (Entries{{3, L"1  Host Unreachable"}, {0, L"Echo Reply"}, {8, L"Echo  Request"}}));
    EXPECT_EQ(icmp.GetCodes(3), (Entries{{0, L"Net Unreachable"}, {1, L"Host Unreachable"}}));
    EXPECT_EQ(icmp.GetCodes(5), (Entries{{0, L""}}));
    EXPECT_EQ(icmp.GetCodes(42), (Entries{{7, L"Type never listed"}}));
    EXPECT_TRUE(icmp.GetCodes(0).empty());

    // Every file starts in type mode; its lines are appended.
    icmp.Initialize(
        WriteFile(dir, "more.txt", "11  Time Exceeded\n== ICMP Code ==\n3  3  Port Unreachable\n"));
    EXPECT_EQ(icmp.GetTypes().back(), (IcmpDictionary::Entry{11, L"Time Exceeded"}));
    EXPECT_EQ(icmp.GetCodes(3).size(), 3u);

    ExpectBadCast(
        [&] { icmp.Initialize(WriteFile(dir, "bad.txt", "== ICMP Code ==\n12  zero  x\n")); },
        "code field");
}

// A malformed line used to surface as a bare bad_lexical_cast that said
// neither file nor line; it still is one, with its documented text.
TEST(DictionaryFormatErrorTest, NamesTheFileAndTheLine) {
    TempDir dir;
    const auto path = WriteFile(dir, "icmp-bad.txt", "# icmp\n\n0  Echo Reply\neight  Echo\n");
    try {
        IcmpDictionary::Instance().Initialize(path);
        ADD_FAILURE() << "no exception";
    } catch (const DictionaryFormatError& e) {
        EXPECT_EQ((dir.path() / "icmp-bad.txt").string(), e.file());
        EXPECT_EQ(4u, e.line());
        EXPECT_STREQ(kBadCast, e.what());
    }
}

}  // namespace
}  // namespace fwcommon
