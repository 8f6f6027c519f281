// The direct writer gives exactly the bytes of the binding's serializer,
// and WritePolicyDocument falls back to the binding for whatever the
// direct writer does not reproduce.

#include <filesystem>
#include <functional>
#include <limits>
#include <locale>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <xercesc/framework/XMLFormatter.hpp>
#include <xercesc/util/PlatformUtils.hpp>

#include "common/TestFiles.h"
#include "document/DirectPolicyWriter.h"
#include "document/DocumentTestSupport.h"

namespace fwcommon::test {
namespace {

using namespace Sarvo;

class ByteVectorTarget final : public xercesc::XMLFormatTarget {
public:
    explicit ByteVectorTarget(std::vector<unsigned char>& out) : out_(out) {}
    void writeChars(const XMLByte* const bytes, const XMLSize_t count,
                    xercesc::XMLFormatter* const) override {
        out_.insert(out_.end(), bytes, bytes + count);
    }

private:
    std::vector<unsigned char>& out_;
};

// The reference: the binding's own serializer, called as the library
// called it before it had a writer of its own.
std::vector<unsigned char> BindingBytes(const PolicyType& policy) {
    static const bool initialised = (xercesc::XMLPlatformUtils::Initialize(), true);
    (void)initialised;
    xml_schema::namespace_infomap namespaces;
    namespaces[kDocumentPrefix].name = kDocumentNamespace;
    namespaces[kDocumentPrefix].schema = kSchemaFileName;
    std::vector<unsigned char> bytes;
    ByteVectorTarget target(bytes);
    Policy(target, policy, namespaces, L"UTF-8", xml_schema::flags::dont_initialize);
    return bytes;
}

// Empty when equal; otherwise the first differing offset with the text
// around it in both.
std::string Difference(const std::vector<unsigned char>& expected,
                       const std::vector<unsigned char>& actual) {
    if (expected == actual) {
        return std::string();
    }
    std::size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) {
        ++at;
    }
    const auto around = [at](const std::vector<unsigned char>& bytes) {
        const std::size_t from = at > 80 ? at - 80 : 0;
        const std::size_t to = std::min(bytes.size(), at + 80);
        return "[" + std::string(bytes.begin() + from, bytes.begin() + to) + "]";
    };
    return "first difference at byte " + std::to_string(at) + " of " +
           std::to_string(expected.size()) + "/" + std::to_string(actual.size()) +
           "\nbinding: " + around(expected) + "\ndirect:  " + around(actual);
}

// The direct writer must accept the document and match the binding, and
// WritePolicyDocument must give the same bytes.
void ExpectDirectMatchesBinding(const std::string& label, const PolicyType& policy) {
    const std::vector<unsigned char> expected = BindingBytes(policy);
    std::vector<unsigned char> direct;
    EXPECT_TRUE(document::WritePolicyDirect(policy, direct)) << label << ": refused";
    EXPECT_EQ("", Difference(expected, direct)) << label;
    EXPECT_EQ("", Difference(expected, WritePolicyDocument(policy))) << label;
}

PolicyType EmptyPolicy() {
    return PolicyType(Rules(), Properties(L"1.0", xml_schema::date_time(2026, 12, 6, 7, 5, 3), 0));
}

Filter FilterOf(ActionTypes::value action) {
    return Filter(action);
}

// Appends the items to the sequence, in order.
template <typename Sequence, typename... Items>
void Append(Sequence& sequence, const Items&... items) {
    (sequence.push_back(items), ...);
}

// A rule of each kind and a plain one, every action, network side and
// condition family, every element that may hold a derived type holding
// one (with xsi:type) and its own type (without).
PolicyType EveryTypePolicy() {
    PolicyType policy = EmptyPolicy();
    auto& rules = policy.Rules().Rule();

    ConditionSet conditions;
    Append(conditions.ScheduleCondition(),
           Daily(xml_schema::time(8, 0, 0), xml_schema::time(17, 30, 0)),
           Weekly(xml_schema::time(1, 2, 3), xml_schema::time(4, 5, 6),
                  WeekDays(true, false, true, false, true, false, true)),
           Calendar(xml_schema::time(0, 0, 0), xml_schema::time(23, 59, 59),
                    xml_schema::date(2026, 12, 24), xml_schema::date(2027, 1, 2)),
           Schedule(xml_schema::time(1, 0, 0), xml_schema::time(2, 0, 0)), ScheduleObjectRef(501),
           ScheduleSystemObjectRef(L"Always"), ScheduleCondition());

    PublicNetwork source;
    source.InterfaceCondition(
        InterfaceByIp(IpRange(IpAddress(L"10.0.0.1"), IpAddress(L"10.0.0.9"))));
    Append(source.IpHostCondition(), IpAddress(L"192.168.1.1"),
           IpMask(IpAddress(L"10.0.0.0"), IpAddress(L"255.0.0.0")),
           IpRange(IpAddress(L"1.1.1.1"), IpAddress(L"1.1.1.2")), DomainName(L"example.org"),
           IpObjectRef(101), IpSystemObjectRef(L"InternetIP"), IpPrimitive(), IpHostCondition());
    conditions.Source(source);

    auto& services = conditions.ServiceCondition();
    TcpCondition tcp(6);
    tcp.SourcePort(PortRange(Port(1024), Port(65535)));
    tcp.DestinationPort(Port(443));
    services.push_back(tcp);
    UdpCondition udp(17);
    udp.DestinationPort(PortPrimitive());
    services.push_back(udp);
    IcmpCondition icmp(1);
    icmp.Type(8);
    icmp.Code(0);
    icmp.Reserved(L"icmp");
    Append(services, icmp, IcmpCondition(58), ProtocolCondition(47), PortRestrictionCondition(),
           Service(), ServiceObjectRef(401), ServiceSystemObjectRef(L"All"), ServiceCondition());

    PrivateNetwork destination;
    Append(destination.VpnHostCondition(), VpnNodeId(0x1A0E000A), VpnNetworkId(-7),
           VpnNameTemplate(L"branch-*"), VpnObjectRef(301), VpnSystemObjectRef(L"MyVPN"),
           VpnHostCondition());
    conditions.Destination(destination);

    LocalRule local(1, 100001, L"local", CreationTypes::User, conditions,
                    FilterOf(ActionTypes::Pass), RuleSections::LocalSection);
    local.Reserved1(true);
    local.Reserved2(false);
    local.Reserved3(L"r3");
    rules.push_back(local);

    Translation translation;
    translation.SourceIp(IpAddress(L"203.0.113.1"));
    translation.DestinationIp(IpAddress(L"10.1.1.1"));
    translation.DestinationPort(Port(8080));
    translation.IsTranslatedIntoOutboundInterface(true);
    rules.push_back(NatRule(2, 2, L"nat", CreationTypes::Policy, ConditionSet(), translation,
                            RuleSections::NatSection));
    rules.push_back(NatRule(3, 3, L"nat-empty", CreationTypes::Policy, ConditionSet(),
                            Translation(), RuleSections::NatSection));
    Filter drop = FilterOf(ActionTypes::Drop);
    drop.IsBidirectional(true);
    drop.IsConnectionStateless(true);
    drop.IsPacketLoggingEnabled(false);
    drop.IsConnectionLoggingEnabled(false);
    rules.push_back(VpnRule(4, 4, L"vpn", CreationTypes::Generated, ConditionSet(), drop,
                            RuleSections::VpnSection));
    rules.push_back(TransitRule(5, 5, L"transit", CreationTypes::Post, ConditionSet(), Action(),
                                RuleSections::TransitSection));
    ConditionSet sides;
    sides.Source(NetworkCondition());
    sides.Destination(PublicNetwork());
    rules.push_back(TunnelingRule(6, 6, L"tunnel", CreationTypes::User, sides, Action(),
                                  RuleSections::TunnelingSection));
    Rule plain(7, 7, L"plain", CreationTypes::User, ConditionSet(), Action());
    plain.IsActive(false);
    rules.push_back(plain);

    NamedObjects objects;
    ScheduleObject schedule(L"hours", 501, CreationTypes::Policy);
    schedule.Reserved(L"s");
    schedule.Exclusion().push_back(ScheduleSystemObjectRef(L"Holidays"));
    schedule.Inclusion().push_back(Daily(xml_schema::time(9, 0, 0), xml_schema::time(18, 0, 0)));
    objects.ScheduleObject().push_back(schedule);
    ServiceObject service(L"web", 401, CreationTypes::Policy);
    service.Inclusion().push_back(tcp);
    service.Exclusion().push_back(ServiceObjectRef(402));
    objects.ServiceObject().push_back(service);
    VpnObject vpn(L"branches", 301, CreationTypes::User);
    vpn.Exclusion().push_back(VpnNodeId(5));
    vpn.Inclusion().push_back(VpnNameTemplate(L"b*"));
    objects.VpnObject().push_back(vpn);
    InterfaceObject interfaces(L"lan", 201, CreationTypes::User);
    interfaces.Exclusion().push_back(SimpleInterface(L"eth1"));
    Append(interfaces.Inclusion(), InterfaceObjectRef(202),
           InterfaceSystemObjectRef(L"AllInterfaces"), InterfaceCondition());
    objects.InterfaceObject().push_back(interfaces);
    IpObject ip(L"servers", 101, CreationTypes::Generated);
    ip.Inclusion().push_back(IpRange(IpAddress(L"10.0.0.1"), IpAddress(L"10.0.0.2")));
    ip.Exclusion().push_back(IpAddress(L"10.0.0.2"));
    Append(objects.IpObject(), ip, IpObject(L"empty", 102, CreationTypes::Generated));
    policy.NamedObjects(objects);

    Options options;
    Option full(L"name", L"value", CreationTypes::User);
    full.TargetApplication(L"app");
    full.TargetPlatform(L"linux");
    full.Reserved(L"res");
    Append(options.Option(), full, Option(L"bare", L"", CreationTypes::Post));
    policy.Options(options);
    policy.Properties().ApplicationDateTime(xml_schema::date_time(2026, 1, 2, 3, 4, 5.5, 5, 30));
    return policy;
}

TEST(DirectWriter, EveryTypeAndEverySlotMatchesTheBinding) {
    ExpectDirectMatchesBinding("every type", EveryTypePolicy());
    ExpectDirectMatchesBinding("empty", EmptyPolicy());
    PolicyType emptyLists = EmptyPolicy();
    emptyLists.NamedObjects(NamedObjects());
    emptyLists.Options(Options());
    ExpectDirectMatchesBinding("empty lists", emptyLists);
}

// A document with `text` in every place a text can be: element text amid
// siblings and as the last child, and attribute values.
PolicyType PolicyWithText(const std::wstring& text) {
    PolicyType policy = EmptyPolicy();
    policy.Properties().Version(text);
    ConditionSet conditions;
    PublicNetwork source;
    IpAddress address(text);
    address.Reserved(text);
    source.IpHostCondition().push_back(address);
    source.IpHostCondition().push_back(DomainName(text));
    conditions.Source(source);
    LocalRule rule(1, 2, text, CreationTypes::User, conditions, FilterOf(ActionTypes::Pass),
                   RuleSections::LocalSection);
    rule.Reserved3(text);
    policy.Rules().Rule().push_back(rule);
    Option option(text, text, CreationTypes::Post);
    option.TargetApplication(text);
    policy.Options(Options());
    policy.Options()->Option().push_back(option);
    return policy;
}

TEST(DirectWriter, TextsMatchTheBinding) {
    const struct {
        const char* label;
        std::wstring text;
    } cases[] = {
        {"empty", L""},
        {"markup characters", L"a&b<c>d\"e'f"},
        {"end of CDATA", L"]]>"},
        {"CR inside", L"x\ry"},
        {"LF inside", L"a\nb"},
        {"TAB inside", L"a\tb"},
        {"CR LF at the end", L"line\r\n"},
        {"blank", L" "},
        {"tab only", L"\t"},
        {"LF only", L"\n"},
        {"CR only", L"\r"},
        {"LF with blanks after", L"  \n   "},
        {"CR LF and indentation", L" \r\n    "},
        {"LF then CR", L"\n  \r "},
        {"more blanks than indentation", L"\n" + std::wstring(40, L' ')},
        {"several lines of blanks", L"\n\n      \t"},
        {"non-ASCII", L"\u00e9t\u00e9 \u4e2d\u6587 \u0416"},
        {"astral", L"\U0001F600 \U00010000 \U0010FFFF"},
        {"C1 and DEL", L"\x7f\x80\x9f"},
        {"line and paragraph separators", L"\x85\u2028\u2029\ufffd"},
        {"long", std::wstring(5000, L'x') + L"&" + std::wstring(5000, L'\u00e9')},
        // Longer than the output's first usable step and than the size it
        // expects of a one-option document.
        {"megabytes", std::wstring(2 << 20, L'x')},
        {"megabytes of escapes", std::wstring(300000, L'&') + std::wstring(1 << 19, L'\u4e2d')},
    };
    for (const auto& c : cases) {
        ExpectDirectMatchesBinding(c.label, PolicyWithText(c.text));
    }
}

TEST(DirectWriter, NumbersMatchTheBinding) {
    const long long longs[] = {0,
                               -1,
                               1,
                               std::numeric_limits<long long>::min(),
                               std::numeric_limits<long long>::max(),
                               4294967296LL};
    const int ints[] = {0, -1, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()};
    for (long long value : longs) {
        PolicyType policy = EmptyPolicy();
        policy.Properties().RollbackPeriod(value);
        IcmpCondition icmp(value);
        icmp.Type(value);
        icmp.Code(value / -2);
        ConditionSet conditions;
        conditions.ServiceCondition().push_back(icmp);
        policy.Rules().Rule().push_back(VpnRule(value, value, L"n", CreationTypes::User, conditions,
                                                Action(), RuleSections::VpnSection));
        ExpectDirectMatchesBinding("long " + std::to_string(value), policy);
    }
    for (int value : ints) {
        PolicyType policy = EmptyPolicy();
        NamedObjects objects;
        IpObject ip(L"o", value, CreationTypes::User);
        ip.Inclusion().push_back(IpObjectRef(value));
        objects.IpObject().push_back(ip);
        policy.NamedObjects(objects);
        ExpectDirectMatchesBinding("int " + std::to_string(value), policy);
    }
}

TEST(DirectWriter, DatesAndTimesMatchTheBinding) {
    using xml_schema::date;
    using xml_schema::date_time;
    using xml_schema::time;
    const struct {
        const char* label;
        time start;
        date day;
        date_time issued;
    } cases[] = {
        {"no zone", time(8, 30, 0), date(2026, 12, 6), date_time(2026, 12, 6, 7, 5, 3)},
        {"Z", time(8, 30, 0, 0, 0), date(2026, 1, 1, 0, 0), date_time(2026, 1, 1, 0, 0, 0, 0, 0)},
        {"+05:30", time(23, 59, 59, 5, 30), date(2026, 2, 28, 5, 30),
         date_time(2026, 2, 28, 12, 0, 0, 5, 30)},
        {"-01:00", time(0, 0, 0, -1, 0), date(1999, 12, 31, -1, 0),
         date_time(1999, 12, 31, 23, 0, 0, -1, 0)},
        {"-00:30", time(1, 2, 3, 0, -30), date(2000, 2, 29, 0, -30),
         date_time(2000, 2, 29, 1, 2, 3, 0, -30)},
        {"+14:00 and -14:00", time(1, 2, 3, 14, 0), date(2000, 1, 1, -14, 0),
         date_time(2000, 1, 1, 1, 1, 1, 14, 0)},
        {"zone out of range", time(1, 2, 3, 15, 0), date(2000, 1, 1, 3, 75),
         date_time(2000, 1, 1, 1, 1, 1, -20, 0)},
        {"fractions", time(1, 2, 3.5), date(2026, 6, 6), date_time(2026, 6, 6, 6, 6, 6.123456)},
        {"fraction rounded", time(1, 2, 9.0000005), date(2026, 6, 6),
         date_time(2026, 6, 6, 6, 6, 59.9999999)},
        {"tiny fraction", time(1, 2, 0.0000004), date(2026, 6, 6),
         date_time(2026, 6, 6, 6, 6, 0.25)},
        {"hour 24", time(24, 0, 0), date(2026, 6, 6), date_time(2026, 6, 6, 24, 0, 0)},
        {"out of range", time(25, 0, 0), date(2026, 13, 6), date_time(2026, 6, 32, 6, 6, 6)},
        {"seconds 60", time(1, 1, 60), date(2026, 6, 32), date_time(2026, 6, 6, 6, 60, 6)},
        {"short and negative years", time(1, 1, 1), date(5, 6, 7), date_time(-5, 1, 2, 3, 4, 5)},
        {"long years", time(1, 1, 1), date(12345, 6, 7), date_time(-12345, 1, 2, 3, 4, 5)},
    };
    for (const auto& c : cases) {
        PolicyType policy = EmptyPolicy();
        policy.Properties().IssueDateTime(c.issued);
        policy.Properties().ApplicationDateTime(c.issued);
        ConditionSet conditions;
        conditions.ScheduleCondition().push_back(Calendar(c.start, c.start, c.day, c.day));
        policy.Rules().Rule().push_back(
            Rule(1, 1, L"n", CreationTypes::User, conditions, Action()));
        ExpectDirectMatchesBinding(c.label, policy);
    }
}

TEST(DirectWriter, DocumentFilesMatchTheBinding) {
    int compared = 0;
    for (const char* tree : {"examples", "tests/data"}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(SourcePath(tree))) {
            if (!entry.is_regular_file()) {
                continue;
            }
            std::unique_ptr<PolicyType> policy;
            try {
                policy = ParsePolicyDocument(ReadBytes(entry.path()));
            } catch (const xml_schema::exception&) {
                continue;
            }
            ExpectDirectMatchesBinding(entry.path().string(), *policy);
            ++compared;
        }
    }
    EXPECT_GE(compared, 5);
}

TEST(DirectWriter, GeneratedPoliciesMatchTheBinding) {
    const TempDir dir;
    const struct {
        const char* label;
        std::string arguments;
    } cases[] = {
        {"1k rules, seed 1", "--rules 1000 --rules-seed 1"},
        {"1k rules, seed 2", "--rules 1000 --rules-seed 2 --seed 7"},
        {"addresses", "--rules 200 --ip-entries 5000 --seed 3"},
    };
    for (const auto& c : cases) {
        const auto file = GeneratedPolicy(dir.path(), "policy.xml", c.arguments);
        ExpectDirectMatchesBinding(c.label, *ParsePolicyDocument(ReadBytes(file)));
    }
}

// What a write gives: the bytes, or "threw".
std::string Outcome(const std::function<std::vector<unsigned char>()>& write) {
    try {
        const auto bytes = write();
        return std::string(bytes.begin(), bytes.end());
    } catch (...) {
        return "threw";
    }
}

// A rule kind the schema does not know, derived by a caller.
class CallerRule : public LocalRule {
public:
    using LocalRule::LocalRule;
    CallerRule* _clone(xml_schema::flags f, xml_schema::container* c) const override {
        return new CallerRule(*this, f, c);
    }
};

TEST(DirectWriter, ContentItDoesNotReproduceIsLeftToTheBinding) {
    const auto withName = [](std::unique_ptr<xml_schema::string> name) {
        PolicyType policy = EmptyPolicy();
        Rule rule(1, 1, L"n", CreationTypes::User, ConditionSet(), Action());
        rule.Name(std::move(name));
        policy.Rules().Rule().push_back(rule);
        return policy;
    };
    const auto withCallerRule = [] {
        PolicyType policy = EmptyPolicy();
        policy.Rules().Rule().push_back(CallerRule(1, 1, L"n", CreationTypes::User, ConditionSet(),
                                                   Action(), RuleSections::LocalSection));
        return policy;
    };
    const struct {
        const char* label;
        PolicyType policy;
    } cases[] = {
        {"control character", PolicyWithText(L"a\x01")},
        {"vertical tab", PolicyWithText(L"\x0b")},
        {"lone surrogate", PolicyWithText(std::wstring(1, wchar_t(0xD800)))},
        {"U+FFFE", PolicyWithText(std::wstring(1, wchar_t(0xFFFE)))},
        {"beyond U+10FFFF", PolicyWithText(std::wstring(1, wchar_t(0x110000)))},
        {"negative character", PolicyWithText(std::wstring(1, wchar_t(-5)))},
        {"name held as an enumeration",
         withName(std::make_unique<CreationTypes>(CreationTypes::Post))},
        {"rule kind of a caller", withCallerRule()},
    };
    for (const auto& c : cases) {
        std::vector<unsigned char> direct;
        EXPECT_FALSE(document::WritePolicyDirect(c.policy, direct)) << c.label;
        EXPECT_EQ(Outcome([&] { return BindingBytes(c.policy); }),
                  Outcome([&] { return WritePolicyDocument(c.policy); }))
            << c.label;
    }
}

// The binding's DOM cut such texts short at the NUL and wrote the rest of
// the document as if nothing had happened.
TEST(DirectWriter, TextsHoldingNulAreRefused) {
    for (const std::wstring& text : {std::wstring(L"ab\0cd", 5), std::wstring(L"\0ab", 3)}) {
        const PolicyType policy = PolicyWithText(text);
        std::vector<unsigned char> direct;
        EXPECT_THROW(document::WritePolicyDirect(policy, direct), xml_schema::serialization);
        EXPECT_THROW(WritePolicyDocument(policy), xml_schema::serialization);
    }
}

// Digits grouped in threes with ',' and booleans spelled otherwise.
struct GroupingPunctuation : std::numpunct<char> {
    std::string do_grouping() const override { return "\3"; }
    std::string do_truename() const override { return "yes"; }
};

TEST(DirectWriter, AGroupingGlobalLocaleIsLeftToTheBinding) {
    const PolicyType policy = EveryTypePolicy();
    const std::locale previous =
        std::locale::global(std::locale(std::locale::classic(), new GroupingPunctuation));
    std::vector<unsigned char> direct;
    const bool accepted = document::WritePolicyDirect(policy, direct);
    const std::string expected = Outcome([&] { return BindingBytes(policy); });
    const std::string actual = Outcome([&] { return WritePolicyDocument(policy); });
    std::locale::global(previous);
    EXPECT_FALSE(accepted);
    EXPECT_NE(std::string::npos, expected.find("<OrderId>100,001</OrderId>"))
        << "the binding no longer follows the global locale";
    EXPECT_EQ(expected, actual);
}

}  // namespace
}  // namespace fwcommon::test
