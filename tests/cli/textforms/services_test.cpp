#include <gtest/gtest.h>

#include "ProtocolNames.h"
#include "Refusals.h"
#include "Services.h"
#include "TextFormError.h"

namespace fwpolicy::textforms {
namespace {

ProtocolNames SomeProtocols() {
    return ProtocolNames({{1, "ICMP"}, {6, "TCP"}, {17, "UDP"}, {47, "GRE"}, {50, "IPSEC-ESP"}});
}

struct GoodService {
    std::string text;
    ServiceValue::Kind kind;
    int protocol;
    std::string rendered;
};

TEST(ServiceText, GoodFormsParseAndRenderBackToPasteableText) {
    const GoodService rows[] = {
        {"tcp", ServiceValue::Kind::Ports, 6, "tcp"},
        {"tcp/22", ServiceValue::Kind::Ports, 6, "tcp/22"},
        {"TCP/22", ServiceValue::Kind::Ports, 6, "tcp/22"},
        {"udp/1024-65535", ServiceValue::Kind::Ports, 17, "udp/1024-65535"},
        {"tcp/any:22", ServiceValue::Kind::Ports, 6, "tcp/22"},
        {"tcp/1024-65535:443", ServiceValue::Kind::Ports, 6, "tcp/1024-65535:443"},
        {"udp/53:any", ServiceValue::Kind::Ports, 17, "udp/53:any"},
        {"tcp/any", ServiceValue::Kind::Ports, 6, "tcp"},
        {"tcp/any:any", ServiceValue::Kind::Ports, 6, "tcp"},
        {"tcp/0", ServiceValue::Kind::Ports, 6, "tcp/0"},
        {"tcp/22-22", ServiceValue::Kind::Ports, 6, "tcp/22-22"},
        {"icmp", ServiceValue::Kind::Icmp, 1, "icmp"},
        {"icmp/echo-request", ServiceValue::Kind::Icmp, 1, "icmp/echo-request"},
        {"icmp/8", ServiceValue::Kind::Icmp, 1, "icmp/echo-request"},
        {"icmp/8/0", ServiceValue::Kind::Icmp, 1, "icmp/8/0"},
        {"icmp/destination-unreachable/3", ServiceValue::Kind::Icmp, 1, "icmp/3/3"},
        {"icmp/200", ServiceValue::Kind::Icmp, 1, "icmp/200"},
        {"icmp/any/4", ServiceValue::Kind::Icmp, 1, "icmp/any/4"},
        {"icmpv6/echo-request", ServiceValue::Kind::Icmp, 58, "icmpv6/echo-request"},
        {"icmpv6/128", ServiceValue::Kind::Icmp, 58, "icmpv6/echo-request"},
        {"proto/47", ServiceValue::Kind::Protocol, 47, "gre"},
        {"gre", ServiceValue::Kind::Protocol, 47, "gre"},
        {"GRE", ServiceValue::Kind::Protocol, 47, "gre"},
        {"ipsec-esp", ServiceValue::Kind::Protocol, 50, "ipsec-esp"},
        {"proto/6", ServiceValue::Kind::Protocol, 6, "proto/6"},
        {"proto/1", ServiceValue::Kind::Protocol, 1, "proto/1"},
        {"proto/253", ServiceValue::Kind::Protocol, 253, "proto/253"},
    };
    const ProtocolNames names = SomeProtocols();
    for (const GoodService& row : rows) {
        SCOPED_TRACE(row.text);
        const ServiceValue service = ParseService(row.text, names);
        EXPECT_EQ(service.kind, row.kind);
        EXPECT_EQ(service.protocol, row.protocol);
        EXPECT_EQ(RenderService(service, names), row.rendered);
        EXPECT_EQ(RenderService(ParseService(row.rendered, names), names), row.rendered);
    }
}

TEST(ServiceText, PortsAndIcmpFieldsLandWhereTheyWereWritten) {
    const ProtocolNames names = SomeProtocols();
    const ServiceValue ports = ParseService("tcp/1024-65535:22", names);
    ASSERT_TRUE(ports.sourcePort && ports.destinationPort);
    EXPECT_EQ(*ports.sourcePort, (PortSpan{1024, 65535, true}));
    EXPECT_EQ(*ports.destinationPort, (PortSpan{22, 22, false}));
    EXPECT_FALSE(ParseService("tcp/22", names).sourcePort);
    const ServiceValue icmp = ParseService("icmp/8/0", names);
    EXPECT_EQ(icmp.icmpType, 8);
    EXPECT_EQ(icmp.icmpCode, 0);
    EXPECT_FALSE(ParseService("icmp/echo-reply", names).icmpCode);
}

TEST(ServiceText, ProtocolNamesFollowTheDictionaryGiven) {
    EXPECT_THROW(ParseService("gre", ProtocolNames()), TextFormError);
    EXPECT_EQ(RenderService(ParseService("proto/47", ProtocolNames()), ProtocolNames()),
              "proto/47");
}

TEST(ServiceText, BadFormsAreRefusedNamingTheBadPart) {
    const BadText rows[] = {
        {"", "a service is missing"},
        {"tcp/", "bad service 'tcp/': nothing follows '/'"},
        {"tcp/65536", "bad service 'tcp/65536': port '65536' is not a number from 0 to 65535"},
        {"tcp/ssh", "bad service 'tcp/ssh': port 'ssh' is not a number from 0 to 65535"},
        {"tcp/-22", "bad service 'tcp/-22': port '' is not a number from 0 to 65535"},
        {"udp/2000-1000",
         "bad service 'udp/2000-1000': port range '2000-1000' ends before it begins"},
        {"tcp/1:2:3",
         "bad service 'tcp/1:2:3': '1:2:3' has more than one ':' (write SOURCE:DESTINATION ports)"},
        {"tcp/:22", "bad service 'tcp/:22': port '' is not a number from 0 to 65535"},
        {"icmp/echo",
         "bad service 'icmp/echo': 'echo' is neither an ICMP type name nor a number from 0 to 255"},
        {"icmp/8/x", "bad service 'icmp/8/x': ICMP code 'x' is not a number from 0 to 255"},
        {"icmp/256",
         "bad service 'icmp/256': '256' is neither an ICMP type name nor a number from 0 to 255"},
        {"icmp/8/0/1", "bad service 'icmp/8/0/1': write icmp/TYPE or icmp/TYPE/CODE"},
        {"icmpv6/nd-router-advert/x",
         "bad service 'icmpv6/nd-router-advert/x': ICMP code 'x' is not a number from 0 to 255"},
        {"proto", "bad service 'proto': write proto/NUMBER"},
        {"proto/256", "bad service 'proto/256': protocol '256' is not a number from 0 to 255"},
        {"proto/gre", "bad service 'proto/gre': protocol 'gre' is not a number from 0 to 255"},
        {"gre/1",
         "bad service 'gre/1': 'gre' takes no '/' (only tcp, udp, icmp, icmpv6 and proto do)"},
        {"http",
         "bad service 'http': 'http' is not tcp, udp, icmp, icmpv6, proto/N or a known protocol "
         "name"},
        {"*",
         "bad service '*': a rule matches every service where it lists none (show prints *): "
         "leave the option out, or clear the list with rule set --clear-services"},
        {"any",
         "bad service 'any': a rule matches every service where it lists none (show prints *): "
         "leave the option out, or clear the list with rule set --clear-services"},
    };
    const ProtocolNames names = SomeProtocols();
    ExpectRefusals(rows, [&names](const std::string& text) { (void)ParseService(text, names); });
}

}  // namespace
}  // namespace fwpolicy::textforms
