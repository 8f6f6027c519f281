#include <gtest/gtest.h>

#include "HostTerms.h"
#include "References.h"
#include "Refusals.h"
#include "TextFormError.h"

namespace fwpolicy::textforms {
namespace {

struct GoodTerm {
    std::string text;
    HostTerm::Kind kind;
    std::string rendered;
};

TEST(HostTermText, GoodFormsParseAndRenderBackToPasteableText) {
    const GoodTerm rows[] = {
        {"10.1.0.5", HostTerm::Kind::Address, "10.1.0.5"},
        {"10.1.0.0/24", HostTerm::Kind::Address, "10.1.0.0/24"},
        {"2001:db8::/48", HostTerm::Kind::Address, "2001:db8::/48"},
        {"www.example.com", HostTerm::Kind::DomainName, "www.example.com"},
        {"1password.com", HostTerm::Kind::DomainName, "1password.com"},
        {"domain:intranet", HostTerm::Kind::DomainName, "domain:intranet"},
        {"domain:www.example.com", HostTerm::Kind::DomainName, "www.example.com"},
        {"interface:eth0", HostTerm::Kind::Interface, "interface:eth0"},
        {"interface:eth0:1", HostTerm::Kind::Interface, "interface:eth0:1"},
        {"interface:10.0.0.1", HostTerm::Kind::InterfaceAddress, "interface:10.0.0.1"},
        {"interface:10.0.0.0/8", HostTerm::Kind::InterfaceAddress, "interface:10.0.0.0/8"},
        {"interface:InternetIP", HostTerm::Kind::InterfaceSystemObject, "interface:InternetIP"},
        {"@\"Office LAN\"", HostTerm::Kind::ObjectReference, "@\"Office LAN\""},
        {"@Servers", HostTerm::Kind::ObjectReference, "@\"Servers\""},
        {"AllClients", HostTerm::Kind::SystemObject, "AllClients"},
        {"InternetIP", HostTerm::Kind::SystemObject, "InternetIP"},
        {"vpn-node:1042", HostTerm::Kind::VpnNode, "vpn-node:1042"},
        {"vpn-network:7", HostTerm::Kind::VpnNetwork, "vpn-network:7"},
        {"vpn-name:branch-*", HostTerm::Kind::VpnNameTemplate, "vpn-name:branch-*"},
    };
    for (const GoodTerm& row : rows) {
        SCOPED_TRACE(row.text);
        const HostTerm term = ParseHostTerm(row.text);
        EXPECT_EQ(term.kind, row.kind);
        EXPECT_EQ(RenderHostTerm(term), row.rendered);
        EXPECT_EQ(RenderHostTerm(ParseHostTerm(row.rendered)), row.rendered);
    }
}

TEST(ObjectReferenceText, QuotedNamesKeepBlanksQuotesAndBackslashes) {
    EXPECT_EQ(ParseObjectReference("@\"Office LAN\""), "Office LAN");
    EXPECT_EQ(ParseObjectReference("@\"say \\\"hi\\\" \\\\ bye\""), "say \"hi\" \\ bye");
    EXPECT_EQ(RenderObjectReference("say \"hi\" \\ bye"), "@\"say \\\"hi\\\" \\\\ bye\"");
    EXPECT_FALSE(ParseObjectReference("Office"));
    EXPECT_EQ(SystemObjectOfName("MyVPN"), fwcommon::eMyVPN);
    EXPECT_FALSE(SystemObjectOfName("myvpn"));
}

TEST(HostTermText, BadFormsAreRefusedNamingTheBadPart) {
    const std::string kinds =
        "not an address, network, range, domain name, interface:NAME, vpn-node:N, "
        "vpn-network:N, vpn-name:TEMPLATE, @object or system object";
    const std::string anyHost =
        "a rule matches any host where it lists none (show prints *): leave the option out, or "
        "clear the list with rule set --clear-source or --clear-destination";
    const BadText rows[] = {
        {"", "an address is missing"},
        {"10.1.0.300", "bad address '10.1.0.300': '300' is not a number from 0 to 255"},
        {"office", "bad address 'office': " + kinds},
        // show prints a side that matches any host as *; the hint says
        // how to get one.
        {"*", "bad address '*': " + anyHost},
        {"ANY", "bad address 'ANY': " + anyHost},
        {"allclients", "unknown system object 'allclients' (did you mean AllClients?)"},
        {"@", "bad object reference '@': the object's name is missing"},
        {"@\"\"", "bad object reference '@\"\"': the object's name is missing"},
        {"@\"Office LAN", "bad object reference '@\"Office LAN': the closing quote is missing"},
        {"@\"Office\" LAN",
         "bad object reference '@\"Office\" LAN': text follows the closing quote"},
        {"@\"a\\b\"", "bad object reference '@\"a\\b\"': '\\' may only stand before '\"' or '\\'"},
        {"@Off\"ice",
         "bad object reference '@Off\"ice': a name with quotes is written @\"...\" with \\\" for "
         "each quote"},
        {"interface:", "bad address 'interface:': nothing follows 'interface:'"},
        {"interface:eth 0", "bad address 'interface:eth 0': blanks may not stand in 'eth 0'"},
        {"interface:10.0.0.256", "bad address '10.0.0.256': '256' is not a number from 0 to 255"},
        {"domain:-bad.example",
         "bad address 'domain:-bad.example': part '-bad' begins or ends with '-'"},
        {"domain:a..b",
         "bad address 'domain:a..b': each dot-separated part has 1 to 63 characters"},
        {"domain:a/b", "bad address 'domain:a/b': '/' may not stand in a domain name"},
        {"vpn-node:x1", "bad address 'vpn-node:x1': 'x1' is not a non-negative number"},
        {"vpn-network:-3", "bad address 'vpn-network:-3': '-3' is not a non-negative number"},
        {"vpn-name:", "bad address 'vpn-name:': nothing follows 'vpn-name:'"},
    };
    ExpectRefusals(rows, [](const std::string& text) { (void)ParseHostTerm(text); });
}

}  // namespace
}  // namespace fwpolicy::textforms
