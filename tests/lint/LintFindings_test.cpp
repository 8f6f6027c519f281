// Lint findings of small policies: one row per situation, each listing every
// finding expected, so that a missing finding and a false one both fail.

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/PolicyDocument.h>
#include <fwcommon/PolicyLint.h>

#include "common/TestFiles.h"
#include "lint/QueryPolicyText.h"

namespace fwcommon::test {
namespace {

using namespace lint;

// "error shadowed-rule LocalRule#2" or "warning unused-object 5".
std::string Brief(const LintFinding& f) {
    std::string text = LintSeverityName(f.severity) + " " + f.code + " ";
    if (f.subject == LintSubject::eNamedObject) {
        return text + "object " + std::to_string(f.identifier);
    }
    return text + "rule#" + std::to_string(f.position);
}

// The findings without identifier-out-of-range: the small policies here
// number their rules from 1, outside every creation type's range.
std::vector<LintFinding> InRangeFindings(std::vector<LintFinding> findings) {
    findings.erase(std::remove_if(findings.begin(), findings.end(),
                                  [](const LintFinding& f) {
                                      return f.code == LintCode::kIdentifierOutOfRange;
                                  }),
                   findings.end());
    return findings;
}

std::vector<LintFinding> Lint(const std::string& text) {
    const auto policy = ParsePolicyDocument(ToBytes(text));
    return InRangeFindings(LintPolicies({LintDocument{"p.xml", policy.get()}}));
}

std::string Briefs(const std::vector<LintFinding>& findings) {
    std::string out;
    for (const auto& f : findings) {
        out += (out.empty() ? "" : ", ") + Brief(f);
    }
    return out;
}

struct Row {
    const char* name;
    std::string objects;
    std::string rules;
    std::string expected;  // the briefs, ", " between
};

const std::string kLan = Source(Net("10.0.0.0", "255.255.255.0"));

std::vector<Row> Rows() {
    return {
        {"clean policy", IpObject(1, Addr("10.0.0.1")),
         Local(1, Destination(IpRef(1)) + "", "Pass") + Local(2, Tcp(80, 80), "Drop") +
             Local(3, Tcp(81, 81), "Drop"),
         ""},
        {"dangling reference in a rule", "", Local(1, Destination(IpRef(99))),
         "error dangling-reference rule#0"},
        {"dangling reference in an object", IpObject(1, IpRef(2)), Local(1, Destination(IpRef(1))),
         "error dangling-reference object 1"},
        {"reference to an object of another kind", ServiceObject(7, Tcp(80, 80)),
         Local(1, Destination(IpRef(7))),
         "warning unused-object object 7, error dangling-reference rule#0"},
        {"unknown system object", "", Local(1, Destination(IpSystem("Everything"))),
         "error unknown-system-object rule#0"},
        {"known system object", "", Local(1, Destination(IpSystem("InternetIP"))), ""},
        {"reference cycle", IpObject(1, IpRef(2)) + IpObject(2, IpRef(3)) + IpObject(3, IpRef(1)),
         Local(1, Destination(IpRef(1))), "error reference-cycle object 1"},
        {"object containing itself", IpObject(1, Addr("10.0.0.1") + IpRef(1)),
         Local(1, Destination(IpRef(1))), "error reference-cycle object 1"},
        {"duplicate RuleId within a creation type", "",
         RuleOf("LocalRule", 5, 1, Tcp(80, 80)) + RuleOf("TransitRule", 5, 2, Tcp(81, 81)) +
             RuleOf("TransitRule", 5, 3, Tcp(82, 82), "Pass", "", "Policy"),
         "error duplicate-rule-id rule#0"},
        {"duplicate object Id across kinds",
         ServiceObject(5, Tcp(80, 80)) + IpObject(5, Addr("10.0.0.1")),
         Local(1, ServiceRef(5) + Destination(IpRef(5))), "error duplicate-object-id object 5"},
        {"duplicate OrderId within a section", "",
         Local(1, Tcp(80, 80)) + RuleOf("LocalRule", 2, 1, Tcp(81, 81)) +
             RuleOf("TransitRule", 3, 1, Tcp(82, 82)),
         "error duplicate-order-id rule#1"},
        {"order ids at the top of their range", "",
         Local(1, Tcp(80, 80)) +
             RuleOf("LocalRule", 2, 9223372036854775807LL - 999999, Tcp(81, 81)) +
             RuleOf("LocalRule", 3, 9223372036854775807LL - 1000000, Tcp(82, 82), "Pass", "",
                    "Policy"),
         "warning order-id-without-room rule#2"},
        {"unused object", IpObject(1, Addr("10.0.0.1")) + IpObject(2, Addr("10.0.0.2")),
         Local(1, Destination(IpRef(2))), "warning unused-object object 1"},
        {"object used only by another object",
         IpObject(1, Addr("10.0.0.1")) + IpObject(2, IpRef(1)), Local(1, Destination(IpRef(2))),
         ""},
        {"port range ending below its start", "", Local(1, Tcp(90, 80)),
         "error invalid-value rule#0, error never-matches rule#0"},
        {"reversed port range among others", "", Local(1, Tcp(90, 80) + Tcp(22, 22)),
         "error invalid-value rule#0"},
        {"address range ending below its start", "",
         Local(1, Destination(Span("10.0.0.9", "10.0.0.1"))),
         "error invalid-value rule#0, error never-matches rule#0"},
        {"calendar ending before it starts", "",
         Local(1, Calendar("2026-05-02", "08:00:00", "2026-05-01", "09:00:00")),
         "error invalid-value rule#0, error never-matches rule#0"},
        // Values no packet can carry: each is reported once, where it is
        // written, and the rule is then not judged on it.
        {"ports above 65535 and below 0", "",
         Local(1, Tcp(65536, 65536)) + Local(2, Tcp(-1, 80)) + Local(3, Tcp(0, 65535)),
         "error invalid-value rule#0, error invalid-value rule#1"},
        {"protocol numbers outside a byte", "",
         Local(1, Protocol(256)) + Local(2, Protocol(-1)) + Local(3, Protocol(255)) +
             Local(4, Rename(Tcp(80, 80), "<Protocol>6<", "<Protocol>300<")),
         "error invalid-value rule#0, error invalid-value rule#1, error invalid-value rule#3"},
        {"ICMP types and codes outside a byte", "",
         Local(1, Icmp(R"(Type="256")")) + Local(2, Icmp(R"(Code="-1")")) +
             Local(3, Icmp(R"(Type="255" Code="255")")),
         "error invalid-value rule#0, error invalid-value rule#1"},
        {"addresses that do not parse", IpObject(1, Addr("10.0.0.300")),
         Local(1, Destination(IpRef(1))) + Local(2, Destination(Net("10.0.0.0", "255.255.0.x"))) +
             Local(3, Destination(Span("10.0.0.1", "fe80::zz"))) +
             Local(4, Destination(Net("10.0.0.0", "33"))) +
             Local(5, Destination(Net("fe80::", "64") + Span("fe80::1", "fe80::2"))),
         "error invalid-value object 1, error invalid-value rule#1, error invalid-value rule#2, "
         "error invalid-value rule#3"},
        {"NAT translations to values no packet can carry", "",
         Nat(1, Tcp(80, 80),
             ToAddress("SourceIp", "10.0.0.300") + ToAddress("DestinationIp", "fe80::zz") +
                 ToAddress("DestinationPort", "65536")) +
             Nat(2, Tcp(81, 81), ToAddress("DestinationPort", "-1")) +
             Nat(3, Tcp(82, 82), ToAddress("DestinationIp", "")) +
             Nat(4, Tcp(83, 83),
                 ToAddress("SourceIp", "2001:db8::1") + ToAddress("DestinationIp", "10.0.0.1") +
                     ToAddress("DestinationPort", "65535")) +
             Nat(5, Tcp(84, 84), ToAddress("DestinationPort", "0")),
         "error invalid-value rule#0, error invalid-value rule#0, error invalid-value rule#0, "
         "error invalid-value rule#1, error invalid-value rule#2"},
        {"address range across families", "", Local(1, Destination(Span("10.0.0.1", "fe80::1"))),
         "error invalid-value rule#0"},
        {"invalid port inside a service object", ServiceObject(4, Tcp(70000, 70000)),
         Local(1, ServiceRef(4)), "error invalid-value object 4"},
        {"weekly schedule without days", "", Local(1, Weekly("08:00:00", "09:00:00", "0000000")),
         "error empty-range rule#0, error never-matches rule#0"},
        {"exclusion removing every inclusion",
         IpObject(1, Net("10.0.0.0", "255.255.255.0"), Span("10.0.0.0", "10.0.0.255")),
         Local(1, Destination(IpRef(1))), "error never-matches rule#0"},
        {"exclusion of an opaque value keeps the object",
         IpObject(1, Addr("10.0.0.1"), Domain("a.example")), Local(1, Destination(IpRef(1))), ""},
        {"shadowed by a wider network with another action", "",
         Local(1, kLan, "Drop") + Local(2, Source(Addr("10.0.0.7")) + Tcp(80, 80)),
         "error shadowed-rule rule#1"},
        {"redundant under the same action", "",
         Local(1, kLan) + Local(2, Source(Addr("10.0.0.7")) + Tcp(80, 80)),
         "warning redundant-rule rule#1"},
        {"shadow through a named object with an exclusion",
         IpObject(1, Net("10.0.0.0", "255.255.255.0"), Net("10.0.0.128", "255.255.255.128")),
         Local(1, Destination(IpRef(1)), "Drop") + Local(2, Destination(Addr("10.0.0.5"))) +
             Local(3, Destination(Addr("10.0.0.200"))),
         "error shadowed-rule rule#1"},
        {"first and last addresses of an exclusion are outside the object",
         IpObject(1, Net("10.0.0.0", "255.255.255.0"), Span("10.0.0.100", "10.0.0.110")),
         Local(1, Destination(IpRef(1)), "Drop") + Local(2, Destination(Addr("10.0.0.100"))) +
             Local(3, Destination(Addr("10.0.0.110"))) + Local(4, Destination(Addr("10.0.0.99"))) +
             Local(5, Destination(Addr("10.0.0.111"))),
         "error shadowed-rule rule#3, error shadowed-rule rule#4"},
        {"one port outside the earlier range", "",
         Local(1, Tcp(1000, 2000), "Drop") + Local(2, Tcp(1500, 2001)), ""},
        {"port range inside the earlier range", "",
         Local(1, Tcp(1000, 2000), "Drop") + Local(2, Tcp(1500, 2000)),
         "error shadowed-rule rule#1"},
        {"ports covered by two earlier ranges together", "",
         Local(1, Tcp(1000, 1499) + Tcp(1500, 2000), "Drop") + Local(2, Tcp(1200, 1800)),
         "error shadowed-rule rule#1"},
        {"IPv6 range inside an IPv6 network", "",
         Local(1, Destination(Net("2001:db8::", "ffff:ffff::")), "Drop") +
             Local(2, Destination(Span("2001:db8::1", "2001:db8::ff"))),
         "error shadowed-rule rule#1"},
        {"IPv6 prefix length and an address outside it", "",
         Local(1, Destination(Net("2001:db8::", "32")), "Drop") +
             Local(2, Destination(Addr("2001:db9::1"))),
         ""},
        {"IPv4 everything does not cover IPv6", "",
         Local(1, Destination(Span("0.0.0.0", "255.255.255.255")), "Drop") +
             Local(2, Destination(Addr("::1"))),
         ""},
        {"identical domain names cover each other", "",
         Local(1, Destination(Domain("WWW.example.com")), "Drop") +
             Local(2, Tcp(443, 443) + Destination(Domain("www.example.com"))),
         "error shadowed-rule rule#1"},
        {"an address does not cover a domain name", "",
         Local(1, Destination(Span("0.0.0.0", "255.255.255.255")), "Drop") +
             Local(2, Destination(Domain("www.example.com"))),
         ""},
        {"no condition covers a domain name", "",
         Local(1, "", "Drop") + Local(2, Destination(Domain("a.example"))),
         "error shadowed-rule rule#1"},
        {"inactive rules neither shadow nor are shadowed", "",
         Local(1, "", "Drop", "IsActive=\"false\"") + Local(2, Tcp(80, 80)) +
             Local(3, Tcp(80, 80), "Drop", "IsActive=\"false\""),
         ""},
        {"section order is by OrderId", "", Local(2, Tcp(80, 80)) + Local(1, "", "Drop"),
         "error shadowed-rule rule#1"},
        {"rules of other sections do not shadow", "",
         RuleOf("TransitRule", 1, 1, "", "Drop") + Local(2, Tcp(80, 80)), ""},
        {"bidirectional rule under a one-way rule", "",
         Local(1, "", "Drop") +
             RuleOf("LocalRule", 2, 2, Tcp(80, 80), "Pass", "", "User", "IsBidirectional=\"true\""),
         ""},
        {"daily window over midnight is not reasoned about", "",
         Local(1, Daily("22:00:00", "06:00:00"), "Drop") + Local(2, Daily("23:00:00", "23:30:00")),
         ""},
        {"weekly office hours cover a calendar span on a Tuesday", "",
         Local(1, Weekly("08:00:00", "18:00:00", "1111100"), "Drop") +
             Local(2, Calendar("2026-12-01", "09:00:00", "2026-12-01", "10:00:00")),
         "error shadowed-rule rule#1"},
        {"weekly office hours miss a calendar span on a Saturday", "",
         Local(1, Weekly("08:00:00", "18:00:00", "1111100"), "Drop") +
             Local(2, Calendar("2026-12-05", "09:00:00", "2026-12-05", "10:00:00")),
         ""},
        {"daily window covers a weekly one", "",
         Local(1, Daily("08:00:00", "18:00:00"), "Drop") +
             Local(2, Weekly("09:00:00", "17:00:00", "0000011")),
         "error shadowed-rule rule#1"},
        {"ICMP type without code covers that type with a code", "",
         Local(1, Icmp("Type=\"8\""), "Drop") + Local(2, Icmp("Type=\"8\" Code=\"0\"")) +
             Local(3, Icmp("Type=\"0\"")),
         "error shadowed-rule rule#1"},
        {"protocol condition covers every ICMP message", "",
         Local(1, Protocol(1), "Drop") + Local(2, Icmp("Type=\"3\"")),
         "error shadowed-rule rule#1"},
        {"service object with an exclusion", ServiceObject(4, Tcp(1, 1000), Tcp(22, 22)),
         Local(1, ServiceRef(4), "Drop") + Local(2, Tcp(80, 80)) + Local(3, Tcp(22, 22)),
         "error shadowed-rule rule#1"},
        {"dangling reference covers nothing", "",
         Local(1, Destination(IpRef(9)), "Drop") + Local(2, Destination(IpRef(9))),
         "error dangling-reference rule#0, error dangling-reference rule#1"},
        {"public side does not cover a private side", "",
         Local(1, Source(""), "Drop") + Local(2, VpnSource(VpnNode(7))), ""},
        {"VPN node inside a list of nodes", "",
         Local(1, VpnSource(VpnNode(7) + VpnNode(8)), "Drop") + Local(2, VpnSource(VpnNode(8))),
         "error shadowed-rule rule#1"},
    };
}

TEST(PolicyLint, FindingsOfSmallPolicies) {
    for (const Row& row : Rows()) {
        SCOPED_TRACE(row.name);
        std::vector<LintFinding> findings;
        ASSERT_NO_THROW(findings = Lint(Policy(row.objects, row.rules)));
        EXPECT_EQ(row.expected, Briefs(findings));
    }
}

// The other rule a finding is about comes as a field too, not only in the
// message: the covering rule of a shadowed or redundant rule, the holder of
// a duplicated RuleId or OrderId.
TEST(PolicyLint, FindingNamesTheOtherRuleAsAField) {
    struct Case {
        const char* name;
        std::string rules;
        std::string code;
        RuleType section;
        std::size_t position;
        std::int64_t identifier;
    };
    const std::vector<Case> cases = {
        {"shadowed",
         Local(1, Tcp(81, 81)) + Local(2, kLan, "Drop") +
             Local(3, Source(Addr("10.0.0.7")) + Tcp(80, 80)),
         LintCode::kShadowedRule, eLocalRules, 1, 2},
        {"redundant", Local(1, kLan) + Local(2, Source(Addr("10.0.0.7")) + Tcp(80, 80)),
         LintCode::kRedundantRule, eLocalRules, 0, 1},
        {"duplicate RuleId",
         RuleOf("LocalRule", 5, 1, Tcp(80, 80)) + RuleOf("TransitRule", 5, 2, Tcp(81, 81)),
         LintCode::kDuplicateRuleId, eLocalRules, 0, 5},
        {"duplicate OrderId", Local(1, Tcp(80, 80)) + RuleOf("LocalRule", 2, 1, Tcp(81, 81)),
         LintCode::kDuplicateOrderId, eLocalRules, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto findings = Lint(Policy("", c.rules));
        ASSERT_EQ(1u, findings.size()) << Briefs(findings);
        EXPECT_EQ(c.code, findings[0].code);
        ASSERT_TRUE(findings[0].relatedRule.has_value());
        const LintRelatedRule& related = *findings[0].relatedRule;
        EXPECT_EQ(c.section, related.section);
        EXPECT_EQ(c.position, related.position);
        EXPECT_EQ(c.identifier, related.identifier);
        EXPECT_EQ(L"r" + std::to_wstring(c.identifier), related.name);
    }
    const auto unused = Lint(Policy(IpObject(1, Addr("10.0.0.1")), Local(1, Tcp(80, 80))));
    ASSERT_EQ(1u, unused.size());
    EXPECT_FALSE(unused[0].relatedRule.has_value()) << "a finding about one subject only";
}

TEST(PolicyLint, DeeplyNestedObjectsAreUnknownNotFollowedToTheEnd) {
    std::string chain;
    for (int id = 1; id < 3000; ++id) {
        chain += IpObject(id, IpRef(id + 1));
    }
    chain += IpObject(3000, Addr("10.0.0.1"));
    const auto findings = Lint(Policy(
        chain, Local(1, Destination(IpRef(1)), "Drop") + Local(2, Destination(Addr("10.0.0.1")))));
    EXPECT_EQ("", Briefs(findings));
}

TEST(PolicyLint, FindingCarriesTheRuleAndTheMessage) {
    const auto findings =
        Lint(Policy("", RuleOf("TransitRule", 11, 5, kLan, "Drop") +
                            RuleOf("TransitRule", 12, 7, Source(Addr("10.0.0.7")) + Tcp(80, 80))));
    ASSERT_EQ(1u, findings.size());
    const LintFinding& f = findings[0];
    EXPECT_EQ("p.xml", f.source);
    EXPECT_EQ(LintSubject::eRule, f.subject);
    EXPECT_EQ(eTransitRules, f.section);
    EXPECT_EQ(1u, f.position);
    EXPECT_EQ(12, f.identifier);
    EXPECT_EQ(L"r12", f.name);
    EXPECT_EQ(
        L"can never match: rule #0 \"r11\" (RuleId 11) matches everything it matches, "
        L"with another action",
        f.message);
}

TEST(PolicyLint, MessagesNameWhatIsWrong) {
    struct MessageRow {
        const char* name;
        std::string policy;
        std::wstring message;
    };
    const std::vector<MessageRow> rows = {
        {"dangling", Policy("", Local(1, Destination(IpRef(99)))),
         L"refers to ip object 99, which does not exist"},
        {"system object", Policy("", Local(1, Destination(IpSystem("all")))),
         L"refers to the system object \"all\", which does not exist"},
        {"cycle",
         Policy(IpObject(1, IpRef(2)) + IpObject(2, IpRef(1)), Local(1, Destination(IpRef(1)))),
         L"contains itself: ip object \"o1\" (Id 1) -> ip object \"o2\" (Id 2) -> ip object \"o1\" "
         L"(Id 1)"},
        {"port range", Policy("", Local(1, Tcp(90, 80) + Tcp(1, 1))),
         L"port range 90-80 ends below its start"},
        {"port", Policy("", Local(1, Tcp(1, 70000))), L"port 70000 is outside 0 to 65535"},
        {"protocol", Policy("", Local(1, Protocol(256))),
         L"protocol number 256 is outside 0 to 255"},
        {"ICMP code", Policy("", Local(1, Icmp(R"(Code="300")"))),
         L"ICMP code 300 is outside 0 to 255"},
        {"address", Policy("", Local(1, Destination(Addr("10.0.0.300")))),
         L"address \"10.0.0.300\" does not parse"},
        {"translated address", Policy("", Nat(1, Tcp(1, 1), ToAddress("SourceIp", "10.0.0.300"))),
         L"translated source address \"10.0.0.300\" does not parse"},
        {"translated port",
         Policy("", Nat(1, Tcp(1, 1),
                        ToAddress("DestinationIp", "10.0.0.1") +
                            ToAddress("DestinationPort", "70000"))),
         L"translated destination port 70000 is outside 0 to 65535"},
        {"never matches",
         Policy(IpObject(1, Addr("10.0.0.1"), Addr("10.0.0.1")), Local(1, Destination(IpRef(1)))),
         L"can never match: its destination matches nothing"},
        {"redundant", Policy("", Local(1, "") + Local(2, Tcp(1, 1))),
         L"is redundant: rule #0 \"r1\" (RuleId 1) matches everything it matches, with the same "
         L"action"},
        {"unused", Policy(IpObject(3, Addr("10.0.0.1")), ""),
         L"no rule or named object refers to it"},
        {"duplicate order", Policy("", Local(1, Tcp(1, 1)) + RuleOf("LocalRule", 2, 1, Tcp(2, 2))),
         L"OrderId 1 is also held by rule #0 \"r1\" (RuleId 1)"},
        {"duplicate id", Policy("", Local(1, Tcp(1, 1)) + RuleOf("LocalRule", 1, 2, Tcp(2, 2))),
         L"RuleId 1 of creation type user is also held by rule #0 \"r1\" (RuleId 1) of local"},
    };
    for (const MessageRow& row : rows) {
        SCOPED_TRACE(row.name);
        const auto findings = Lint(row.policy);
        ASSERT_FALSE(findings.empty());
        EXPECT_EQ(row.message, findings.front().message);
    }
}

TEST(PolicyLint, SharedObjectsAreSeenByEveryDocumentAndUnusedOnlyWhenNoneUsesThem) {
    const auto objects = ParsePolicyDocument(
        ToBytes(Policy(IpObject(1, Addr("10.0.0.1")) + IpObject(2, Addr("10.0.0.2")), "")));
    const auto first = ParsePolicyDocument(ToBytes(Policy("", Local(1, Destination(IpRef(1))))));
    const auto second = ParsePolicyDocument(ToBytes(Policy("", Local(1, Destination(IpRef(3))))));
    const LintDocument shared{"objects.xml", objects.get()};
    const auto findings = InRangeFindings(LintPolicies(
        {LintDocument{"a.xml", first.get()}, LintDocument{"b.xml", second.get()}}, &shared));
    ASSERT_EQ(2u, findings.size());
    EXPECT_EQ("b.xml", findings[0].source);
    EXPECT_EQ("error dangling-reference rule#0", Brief(findings[0]));
    EXPECT_EQ("objects.xml", findings[1].source);
    EXPECT_EQ("warning unused-object object 2", Brief(findings[1]));
    EXPECT_EQ(eIpAddressObject, findings[1].objectType);
}

TEST(PolicyLint, RuleIdsOutsideTheirCreationTypesRangeAreWarnedAbout) {
    // Each range's ends are inside it; one past either end is outside.
    const std::string rules = RuleOf("LocalRule", 300001, 1, Tcp(1, 1)) +
                              RuleOf("LocalRule", 2000000000, 2, Tcp(2, 2)) +
                              RuleOf("LocalRule", 300000, 3, Tcp(3, 3)) +
                              RuleOf("LocalRule", 200001, 4, Tcp(4, 4), "Pass", "", "Policy") +
                              RuleOf("LocalRule", 300001, 5, Tcp(5, 5), "Pass", "", "Policy") +
                              RuleOf("LocalRule", 100000, 6, Tcp(6, 6), "Pass", "", "Generated") +
                              RuleOf("LocalRule", 4294967295, 7, Tcp(7, 7), "Pass", "", "Post") +
                              RuleOf("LocalRule", 2000000000, 8, Tcp(8, 8), "Pass", "", "Post");
    const auto policy = ParsePolicyDocument(ToBytes(Policy("", rules)));
    const auto findings = LintPolicies({LintDocument{"p.xml", policy.get()}});
    EXPECT_EQ(
        "warning identifier-out-of-range rule#2, warning identifier-out-of-range rule#4, "
        "warning identifier-out-of-range rule#5, warning identifier-out-of-range rule#7",
        Briefs(findings));
    ASSERT_FALSE(findings.empty());
    EXPECT_EQ(
        L"RuleId 300000 lies outside the identifiers of creation type user (300001 to "
        L"2000000000): the first edit gives the rule a new one",
        findings[0].message);
}

TEST(PolicyLint, ExamplePolicyHasNoErrors) {
    const auto policy = ParsePolicyDocument(ReadBytes(SourcePath("examples/policy.xml")));
    for (const LintFinding& f : LintPolicies({LintDocument{"policy.xml", policy.get()}})) {
        EXPECT_EQ(LintSeverity::eWarning, f.severity) << Brief(f);
        EXPECT_EQ(std::string(LintCode::kUnusedObject), f.code) << Brief(f);
    }
}

}  // namespace
}  // namespace fwcommon::test
