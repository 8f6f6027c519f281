#include <locale>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <typeinfo>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/Context.h>
#include <fwcommon/PolicyDocument.h>
#include "common/Xmllint.h"
#include "context/ContextTestSupport.h"
#include "context/PolicyFixtures.h"
#include "context/RsopMerge.h"

namespace fwcommon::test {
namespace {

// 2026-03-01T12:00:00Z
constexpr std::int64_t kTime = 1772366400;

std::unique_ptr<Sarvo::PolicyType> Rsop(Context& context, std::int64_t time, int period) {
    std::vector<unsigned char> bytes;
    context.GetRSOP(bytes, time, period);
    EXPECT_TRUE(XmllintAccepts(bytes));
    return ParsePolicyDocument(bytes);
}

TEST(ContextRsop, NoDocumentsGiveAnEmptyDocumentWithTheTimeAndPeriod) {
    Context context;
    const auto rsop = Rsop(context, kTime, 3600);
    EXPECT_TRUE(rsop->Rules().Rule().empty());
    EXPECT_FALSE(rsop->NamedObjects());
    EXPECT_FALSE(rsop->Options());
    ASSERT_TRUE(rsop->Properties().ApplicationDateTime());
    const auto& when = *rsop->Properties().ApplicationDateTime();
    EXPECT_EQ(std::make_tuple(2026, 3u, 1u, 12u, 0u),
              std::make_tuple(when.year(), when.month(), when.day(), when.hours(), when.minutes()));
    EXPECT_EQ(3600, rsop->Properties().RollbackPeriod());
}

// Three documents: named objects, and two rule documents whose rules
// interleave across sections, with options in each.
class ContextRsopOfThree : public ::testing::Test {
protected:
    void SetUp() override {
        context.AppendXmlReader(
            L"NamedObjects.xml",
            PolicyXml("",
                      IpObjectXml(5001, "Office") + IpObjectXml(5002, "Servers", "Policy", {5001}),
                      OptionXml("Shared", "objects", "Policy")),
            Policy, {}, L"");
        context.AppendXmlReader(
            L"a.xml",
            PolicyXml(
                RuleXml("LocalRule", 300001, 300010, "a local", "User", DestinationIsObject(5001)) +
                    RuleXml("VpnRule", 300002, 300020, "a vpn"),
                "", OptionXml("Shared", "first a") + OptionXml("OnlyA", "1")),
            User, {}, L"");
        context.AppendXmlReader(L"b.xml",
                                PolicyXml(RuleXml("TransitRule", 300003, 300005, "b transit") +
                                              RuleXml("LocalRule", 300004, 300001, "b local",
                                                      "User", SourceIsObject(5002)) +
                                              RuleXml("NatRule", 300005, 300002, "b nat"),
                                          IpObjectXml(5001, "Office"),
                                          OptionXml("Shared", "then b") + OptionXml("OnlyB", "2")),
                                User, {}, L"");
    }

    Context context{L"NamedObjects.xml"};
};

TEST_F(ContextRsopOfThree, ResultIsValidAndHoldsEverything) {
    const auto rsop = Rsop(context, kTime, 60);
    std::vector<std::wstring> rules;
    std::set<std::pair<long long, int>> identifiers;
    for (const Sarvo::Rule& rule : rsop->Rules().Rule()) {
        rules.push_back(rule.Name());
        identifiers.emplace(rule.RuleId(), static_cast<int>(rule.CreationType()));
    }
    // Sections in order (VPN, NAT, local, transit), order ids within one.
    EXPECT_EQ((std::vector<std::wstring>{L"a vpn", L"b nat", L"b local", L"a local", L"b transit"}),
              rules);
    EXPECT_EQ(rules.size(), identifiers.size());

    ASSERT_TRUE(rsop->NamedObjects());
    std::vector<std::wstring> objects;
    for (const auto& object : rsop->NamedObjects()->IpObject()) {
        objects.push_back(object.Name());
    }
    EXPECT_EQ((std::vector<std::wstring>{L"Office", L"Servers"}), objects);

    ASSERT_TRUE(rsop->Options());
    std::vector<std::wstring> options;
    for (const auto& option : rsop->Options()->Option()) {
        options.push_back(option.Name() + L"=" + option.Value());
    }
    EXPECT_EQ(
        (std::vector<std::wstring>{L"Shared=objects", L"Shared=first a", L"OnlyA=1", L"OnlyB=2"}),
        options);
    EXPECT_EQ(60, rsop->Properties().RollbackPeriod());
}

TEST_F(ContextRsopOfThree, RegisteredDocumentsStayAsTheyWere) {
    std::vector<unsigned char> before;
    context.GetXmlData(L"b.xml", before);
    std::vector<unsigned char> bytes;
    context.GetRSOP(bytes, kTime, 60);
    std::vector<unsigned char> after;
    context.GetXmlData(L"b.xml", after);
    EXPECT_EQ(ToString(before), ToString(after));
    EXPECT_FALSE(context.HasChanges());
}

TEST_F(ContextRsopOfThree, PendingEditsAreMerged) {
    context.CreateRule(L"a.xml", eTunnelRules, User, L"new tunnel", Context::RuleActions::eDrop,
                       -1);
    const auto rsop = Rsop(context, kTime, 60);
    std::vector<std::wstring> rules;
    for (const Sarvo::Rule& rule : rsop->Rules().Rule()) {
        rules.push_back(rule.Name());
    }
    EXPECT_EQ((std::vector<std::wstring>{L"a vpn", L"b nat", L"new tunnel", L"b local", L"a local",
                                         L"b transit"}),
              rules);
}

TEST(RsopMerge, LaterHoldersOfTakenIdentitiesGiveWay) {
    const auto first = ParsePolicyDocument(PolicyXml(
        RuleXml("LocalRule", 300001, 300001, "one") + RuleXml("LocalRule", 300002, 300002, "two"),
        IpObjectXml(5001, "Office"), OptionXml("Mode", "first")));
    const auto second = ParsePolicyDocument(PolicyXml(
        RuleXml("LocalRule", 300001, 300003, "one again") +
            RuleXml("LocalRule", 300001, 300004, "one more", "Policy", SourceIsObject(5001)),
        IpObjectXml(5001, "Office copy") + IpObjectXml(5001, "Office of User", "User") +
            IpObjectXml(5001, "Office") + IpObjectXml(5003, "Annex", "Policy", {5001}),
        OptionXml("Mode", "second") + OptionXml("Mode", "of Policy", "Policy")));
    auto generators = std::make_shared<RsopMerge::Generators>();
    (*generators)[User] = std::make_shared<IdentifierGenerator>(300001u, 2000000000u);
    (*generators)[User]->MarkIdentifierAsBusy(300003u);  // handed out elsewhere
    (*generators)[Policy] = std::make_shared<IdentifierGenerator>(5000u, 6000u);

    RsopMerge merge(ParsePolicyDocument(PolicyXml("")), generators);
    CapturedLog log;
    merge.Add(*first);
    merge.Add(*second);
    const auto result = merge.Finish();
    // Objects of the taken Id 5001 are different from the first "Office"
    // unless name, creation type and members agree; the new Ids are free in
    // the generator of their creation type and in both documents.
    EXPECT_EQ((std::vector<std::wstring>{
                  LogLine(2, L"'GetRSOP': named object 'Office copy' renumbered from 5001 to 5000"),
                  LogLine(2,
                          L"'GetRSOP': named object 'Office of User' renumbered from 5001 to "
                          L"300001"),
                  LogLine(2, L"'GetRSOP': rule 'one again' renumbered from 300001 to 300004")}),
              log.Lines());

    std::vector<std::pair<std::wstring, long long>> rules;
    for (const Sarvo::Rule& rule : result->Rules().Rule()) {
        rules.emplace_back(rule.Name(), rule.RuleId());
    }
    // The taken User identifier 300001 is replaced by the first one free
    // both in the generator and in the result; Policy's 300001 is free.
    EXPECT_EQ(
        (std::vector<std::pair<std::wstring, long long>>{
            {L"one", 300001}, {L"two", 300002}, {L"one again", 300004}, {L"one more", 300001}}),
        rules);
    EXPECT_EQ(300001u, (*generators)[User]->GenerateIdentifier()) << "caller's pool untouched";

    std::vector<std::pair<std::wstring, long long>> objects;
    for (const auto& object : result->NamedObjects()->IpObject()) {
        objects.emplace_back(object.Name(), object.Id());
    }
    EXPECT_EQ((std::vector<std::pair<std::wstring, long long>>{{L"Office", 5001},
                                                               {L"Office copy", 5000},
                                                               {L"Office of User", 300001},
                                                               {L"Annex", 5003}}),
              objects);
    // A Policy rule or object of the second document meant its "Office copy".
    const auto& annex = result->NamedObjects()->IpObject()[3];
    EXPECT_EQ(5000, dynamic_cast<const Sarvo::IpObjectRef&>(annex.Inclusion()[1]).Id());
    const auto& oneMore = result->Rules().Rule()[3].ConditionSet().Source();
    EXPECT_EQ(5000, dynamic_cast<const Sarvo::IpObjectRef&>(
                        dynamic_cast<const Sarvo::PublicNetwork&>(*oneMore).IpHostCondition()[0])
                        .Id());
    std::vector<std::wstring> options;
    for (const auto& option : result->Options()->Option()) {
        options.push_back(option.Value());
    }
    EXPECT_EQ((std::vector<std::wstring>{L"first", L"of Policy"}), options);
    EXPECT_TRUE(XmllintAccepts(WritePolicyDocument(*result)));
}

// The address object an IP reference of a rule's source side names in the
// resultant document, by name.
std::wstring SourceObjectName(const Sarvo::PolicyType& rsop, const std::wstring& ruleName) {
    for (const Sarvo::Rule& rule : rsop.Rules().Rule()) {
        if (rule.Name() != ruleName) {
            continue;
        }
        const auto& side = dynamic_cast<const Sarvo::PublicNetwork&>(*rule.ConditionSet().Source());
        const int id = dynamic_cast<const Sarvo::IpObjectRef&>(side.IpHostCondition()[0]).Id();
        for (const auto& object : rsop.NamedObjects()->IpObject()) {
            if (object.Id() == id) {
                return object.Name();
            }
        }
    }
    return L"(nothing)";
}

TEST(ContextRsop, ObjectsOfTwoFilesWithOneIdentifierAreBothKept) {
    Context context{L"admins.xml"};
    context.AppendXmlReader(
        L"admins.xml",
        PolicyXml(RuleXml("LocalRule", 300001, 300001, "Pass admins", "User", SourceIsObject(5001)),
                  IpObjectXml(5001, "Admins", "User")),
        User, {}, L"");
    context.AppendXmlReader(
        L"guests.xml",
        PolicyXml(RuleXml("LocalRule", 300002, 300002, "Pass guests", "User", SourceIsObject(5001)),
                  IpObjectXml(5001, "Guests", "User")),
        User, {}, L"");
    CapturedLog log;
    const auto rsop = Rsop(context, kTime, 60);
    EXPECT_EQ(L"Admins", SourceObjectName(*rsop, L"Pass admins"));
    EXPECT_EQ(L"Guests", SourceObjectName(*rsop, L"Pass guests"));
    EXPECT_TRUE(log.Contains(L"'GetRSOP': named object 'Guests' renumbered from 5001 to "));
}

// Three documents holding the same rule and object identifiers: the
// second and the third are both renumbered, each to identifiers of its own,
// and each rule still names its own document's object.
TEST(RsopMerge, TwoRenumberingsGiveEveryRuleAndObjectItsOwnIdentity) {
    auto generators = std::make_shared<RsopMerge::Generators>();
    (*generators)[User] = std::make_shared<IdentifierGenerator>(300001u, 2000000000u);
    RsopMerge merge(ParsePolicyDocument(PolicyXml("")), generators);
    const std::vector<std::string> tags = {"a", "b", "c"};
    std::vector<std::unique_ptr<Sarvo::PolicyType>> documents;  // the merge refers to their rules
    for (const std::string& tag : tags) {
        documents.push_back(ParsePolicyDocument(PolicyXml(
            RuleXml("LocalRule", 300001, 300001, "rule " + tag, "User", SourceIsObject(5001)),
            IpObjectXml(5001, "Office " + tag, "User"))));
        merge.Add(*documents.back());
    }
    const auto result = merge.Finish();
    std::set<long long> ruleIds;
    for (const Sarvo::Rule& rule : result->Rules().Rule()) {
        ruleIds.insert(rule.RuleId());
    }
    EXPECT_EQ(3u, ruleIds.size()) << "one identifier per rule";
    std::set<long long> objectIds;
    for (const auto& object : result->NamedObjects()->IpObject()) {
        objectIds.insert(object.Id());
    }
    EXPECT_EQ(3u, objectIds.size()) << "one identifier per object";
    for (const std::string& tag : tags) {
        const std::wstring wide(tag.begin(), tag.end());
        EXPECT_EQ(L"Office " + wide, SourceObjectName(*result, L"rule " + wide));
    }
}

// Digits grouped in threes: the direct writer leaves such a locale to the
// binding's serializer.
struct GroupingPunctuation : std::numpunct<char> {
    std::string do_grouping() const override { return "\3"; }
};

// The bytes of a merge written straight from the documents' rules, and of
// the same merge as a typed document, under the global locale given.
std::pair<std::string, std::string> WrittenAndTyped(
    const std::vector<std::unique_ptr<Sarvo::PolicyType>>& documents, const std::locale& locale) {
    const auto merged = [&] {
        auto generators = std::make_shared<RsopMerge::Generators>();
        (*generators)[User] = std::make_shared<IdentifierGenerator>(300001u, 2000000000u);
        auto merge = std::make_unique<RsopMerge>(ParsePolicyDocument(PolicyXml("")), generators);
        for (const auto& document : documents) {
            merge->Add(*document);
        }
        return merge;
    };
    const std::locale previous = std::locale::global(locale);
    const std::vector<unsigned char> written = merged()->Write();
    const std::vector<unsigned char> typed = WritePolicyDocument(*merged()->Finish());
    std::locale::global(previous);
    return {ToString(written), ToString(typed)};
}

// Rules renumbered, moved to free order ids, and rewritten to follow a
// renumbered object, among rules merged as the documents hold them.
TEST(RsopMerge, WriteGivesTheBytesOfTheMergedDocument) {
    std::vector<std::unique_ptr<Sarvo::PolicyType>> documents;
    documents.push_back(ParsePolicyDocument(PolicyXml(
        RuleXml("LocalRule", 300001, 300001, "pass office", "User", SourceIsObject(5001)) +
            RuleXml("NatRule", 300002, 300001, "nat") + RuleXml("VpnRule", 300003, 7, "vpn"),
        IpObjectXml(5001, "Office", "User"))));
    documents.push_back(ParsePolicyDocument(PolicyXml(
        RuleXml("LocalRule", 300001, 300001, "pass guests", "User", SourceIsObject(5001)) +
            RuleXml("LocalRule", 300004, 300001, "pass all") +
            RuleXml("NatRule", 300002, 300001, "nat again"),
        IpObjectXml(5001, "Guests", "User"))));
    documents.push_back(
        ParsePolicyDocument(PolicyXml(RuleXml("NatRule", 300002, 300001, "nat once more") +
                                          RuleXml("VpnRule", 300005, 9, "vpn 2"),
                                      IpObjectXml(5001, "Office", "User"))));

    const auto [written, typed] = WrittenAndTyped(documents, std::locale::classic());
    EXPECT_EQ(typed, written);
    for (const char* text : {"<Name>pass guests</Name>", "<Name>nat once more</Name>",
                             "<Name>Guests</Name>", "<OrderId>300003</OrderId>"}) {
        EXPECT_NE(std::string::npos, written.find(text)) << text;
    }
    EXPECT_TRUE(XmllintAccepts(std::vector<unsigned char>(written.begin(), written.end())));

    const auto [grouped, groupedTyped] =
        WrittenAndTyped(documents, std::locale(std::locale::classic(), new GroupingPunctuation));
    EXPECT_EQ(groupedTyped, grouped) << "left to the binding, as the typed document is";
    EXPECT_NE(std::string::npos, grouped.find("300,001")) << "the binding follows the locale";
}

TEST(ContextRsop, AnIdentifierHeldByAnObjectOfAnotherKindIsNotGivenTwice) {
    const std::string pingService =
        "<ServiceObject><Name>Ping</Name><Id>5001</Id><CreationType>User</CreationType>"
        "<Inclusion xsi:type=\"sv:IcmpCondition\" Type=\"8\" Code=\"0\"><Protocol>1</Protocol>"
        "</Inclusion></ServiceObject>";
    Context context{L"services.xml"};
    context.AppendXmlReader(L"services.xml", PolicyXml("", pingService), User, {}, L"");
    context.AppendXmlReader(
        L"admins.xml",
        PolicyXml(RuleXml("LocalRule", 300001, 300001, "Pass admins", "User", SourceIsObject(5001)),
                  IpObjectXml(5001, "Admins", "User")),
        User, {}, L"");
    const auto rsop = Rsop(context, kTime, 60);
    ASSERT_EQ(1u, rsop->NamedObjects()->ServiceObject().size());
    ASSERT_EQ(1u, rsop->NamedObjects()->IpObject().size());
    EXPECT_EQ(5001, rsop->NamedObjects()->ServiceObject()[0].Id());
    EXPECT_NE(5001, rsop->NamedObjects()->IpObject()[0].Id()) << "one Id, one object";
    EXPECT_EQ(L"Admins", SourceObjectName(*rsop, L"Pass admins"));
}

TEST(ContextRsop, AFileMergedWithItselfKeepsItsObjectsOnceAndOrderIdsUnique) {
    const auto file =
        PolicyXml(RuleXml("LocalRule", 300001, 300001, "first", "User", SourceIsObject(5001)) +
                      RuleXml("LocalRule", 300002, 300002, "second") +
                      RuleXml("NatRule", 300003, 300001, "nat"),
                  IpObjectXml(5001, "Office", "User"));
    Context context{L"one.xml"};
    context.AppendXmlReader(L"one.xml", file, User, {}, L"");
    context.AppendXmlReader(L"again.xml", file, User, {}, L"");
    const auto rsop = Rsop(context, kTime, 60);
    std::map<std::string, std::set<long long>> orderIds;
    std::size_t rules = 0;
    for (const Sarvo::Rule& rule : rsop->Rules().Rule()) {
        ++rules;
        EXPECT_TRUE(orderIds[typeid(rule).name()].insert(rule.OrderId()).second)
            << "order id " << rule.OrderId() << " twice in one section";
    }
    EXPECT_EQ(6u, rules);
    ASSERT_EQ(1u, rsop->NamedObjects()->IpObject().size());
    EXPECT_EQ(L"Office", SourceObjectName(*rsop, L"first"));
}

}  // namespace
}  // namespace fwcommon::test
