// Loading, indexing and editing the rules of one document.

#include <set>
#include <stdexcept>

#include <gtest/gtest.h>

#include <fwcommon/IRule.h>
#include "common/Thrown.h"
#include "domain/Rule.h"
#include "store/StoreTestSupport.h"

namespace fwcommon::test {
namespace {

Sarvo::Filter PassFilter() {
    return Sarvo::Filter(Sarvo::ActionTypes::Pass);
}

// The names of a section as a fresh reader of the written bytes lists them.
std::vector<std::wstring> Reread(XmlReader& reader, RuleType type) {
    std::vector<unsigned char> bytes;
    reader.GetXmlData(bytes);
    return Names(MakeReader(bytes)->GetRules(type));
}

TEST(XmlReaderLoad, EmptyBytesGiveANewEmptyDocument) {
    const auto before = std::time(nullptr);
    auto reader = MakeReader({});
    for (int type = 0; type <= 6; ++type) {
        EXPECT_TRUE(reader->GetRules(static_cast<RuleType>(type))->empty()) << "type " << type;
    }
    const auto written = Written(*reader);
    EXPECT_TRUE(written->Rules().Rule().empty());
    EXPECT_FALSE(written->NamedObjects().present());
    EXPECT_EQ(L"1.0", written->Properties().Version());
    EXPECT_EQ(900, written->Properties().RollbackPeriod());
    const auto& issued = written->Properties().IssueDateTime();
    std::tm utc{};
    gmtime_r(&before, &utc);
    EXPECT_EQ(utc.tm_year + 1900, issued.year());
    EXPECT_TRUE(issued.zone_present());
    EXPECT_FALSE(reader->HasChanges());
}

TEST(XmlReaderLoad, InvalidBytesThrowTheParsingError) {
    EXPECT_THROW(MakeReader(ToBytes("<nonsense/>")), xml_schema::parsing);
}

TEST(XmlReaderLoad, SectionsFollowTheRuleKindInOrderIdOrder) {
    auto reader = MakeReader(PolicyXml(RuleXml("LocalRule", 300003, 3, "local b") +
                                       RuleXml("NatRule", 300004, 1, "nat") +
                                       RuleXml("LocalRule", 300005, 2, "local a")));
    EXPECT_EQ((std::vector<std::wstring>{L"local a", L"local b"}),
              Names(reader->GetRules(eLocalRules)));
    EXPECT_EQ(std::vector<std::wstring>{L"nat"}, Names(reader->GetRules(eNATRules)));
    EXPECT_TRUE(reader->GetRules(eVPNRules)->empty());
}

TEST(XmlReaderLoad, DuplicateRuleIdsOfTheDocumentTypeAreCorrectedAndWrittenBack) {
    auto reader = MakeReader(PolicyXml(RuleXml("LocalRule", 300001, 1, "first") +
                                       RuleXml("LocalRule", 300001, 2, "second")));
    const auto rules = reader->GetRules(eLocalRules);
    ASSERT_EQ(2u, rules->size());
    EXPECT_EQ(300001u, (*rules)[0]->GetIdentifier());
    EXPECT_NE(300001u, (*rules)[1]->GetIdentifier());
    const auto written = Written(*reader);
    EXPECT_EQ(300001, written->Rules().Rule()[0].RuleId());
    EXPECT_EQ((*rules)[1]->GetIdentifier(), written->Rules().Rule()[1].RuleId());
    EXPECT_FALSE(reader->HasChanges()) << "the correction is not a pending change";
}

TEST(XmlReaderLoad, RuleIdsOutsideTheIdentifierRangeGetANewIdentifier) {
    // The low words of these are 300005 and 300006, both free.
    const long long aboveTheRange = 4294967296LL + 300005;
    const long long belowTheRange = -4294967296LL + 300006;
    auto reader = MakeReader(PolicyXml(RuleXml("LocalRule", aboveTheRange, 1, "above") +
                                       RuleXml("LocalRule", belowTheRange, 2, "below")));
    const auto rules = reader->GetRules(eLocalRules);
    ASSERT_EQ(2u, rules->size());
    for (const auto& rule : *rules) {
        const long long ruleId = rule->GetXmlRule()->RuleId();
        EXPECT_TRUE(ruleId > 300000 && ruleId <= 2000000000) << ruleId;
        EXPECT_EQ(static_cast<long long>(rule->GetIdentifier()), ruleId);
    }
    const auto written = Written(*reader);
    EXPECT_EQ((*rules)[0]->GetIdentifier(), written->Rules().Rule()[0].RuleId());
    EXPECT_EQ((*rules)[1]->GetIdentifier(), written->Rules().Rule()[1].RuleId());

    // Both views agree, so a removal removes the rule from the document.
    ASSERT_TRUE(reader->RemoveRule(eLocalRules, {(*rules)[0]->GetIdentifier(), User}));
    ASSERT_EQ(1u, Written(*reader)->Rules().Rule().size());
    EXPECT_EQ(L"below", Written(*reader)->Rules().Rule()[0].Name());
}

TEST(XmlReaderLoad, DuplicateRuleIdsOfAnotherCreationTypeAreCorrectedToo) {
    auto reader = MakeReader(PolicyXml(RuleXml("LocalRule", 300001, 1, "first", "Policy") +
                                       RuleXml("LocalRule", 300001, 2, "second", "Policy") +
                                       RuleXml("LocalRule", 300002, 3, "third", "User")));
    const auto rules = reader->GetRules(eLocalRules);
    ASSERT_EQ(3u, rules->size());
    EXPECT_EQ(300001u, (*rules)[0]->GetIdentifier());
    EXPECT_NE(300001u, (*rules)[1]->GetIdentifier());
    EXPECT_EQ((*rules)[1]->GetIdentifier(), Written(*reader)->Rules().Rule()[1].RuleId());

    // Moving the second rule renumbers its own element, not the first's.
    ASSERT_TRUE(reader->ChangeRulePriority(eLocalRules, (*rules)[1]->GetIdentifier(), -1));
    const auto written = Written(*reader);
    EXPECT_EQ(L"first", written->Rules().Rule()[0].Name());
    EXPECT_EQ(2, written->Rules().Rule()[0].OrderId());
    EXPECT_EQ(1, written->Rules().Rule()[1].OrderId());
    EXPECT_EQ((std::vector<std::wstring>{L"second", L"first", L"third"}),
              Reread(*reader, eLocalRules));
}

// A RuleId may stand for one rule of each creation type: a move renumbers
// the element of the moved rule's own creation type.
TEST(XmlReaderLoad, AMoveRenumbersTheElementOfTheRulesOwnCreationType) {
    auto reader = MakeReader(PolicyXml(RuleXml("LocalRule", 300001, 1, "user", "User") +
                                       RuleXml("LocalRule", 300001, 2, "policy twin", "Policy") +
                                       RuleXml("LocalRule", 300002, 3, "last", "User")));
    const auto rules = reader->GetRules(eLocalRules);
    ASSERT_EQ(3u, rules->size());
    ASSERT_EQ(300001u, (*rules)[1]->GetIdentifier()) << "each creation type keeps its RuleId";
    ASSERT_EQ(Policy, (*rules)[1]->GetCreationType());

    ASSERT_TRUE(reader->ChangeRulePriority(eLocalRules, 300001u, 2));
    const auto written = Written(*reader);
    EXPECT_EQ(3, written->Rules().Rule()[0].OrderId()) << "user";
    EXPECT_EQ(1, written->Rules().Rule()[1].OrderId()) << "policy twin";
    EXPECT_EQ(2, written->Rules().Rule()[2].OrderId()) << "last";
    EXPECT_EQ((std::vector<std::wstring>{L"policy twin", L"last", L"user"}),
              Reread(*reader, eLocalRules));
}

TEST(XmlReaderLoad, AFailedFirstBuildTakesNoIdentifiers) {
    // Room for three identifiers; the fourth rule needs one more.
    auto registry = std::make_shared<GeneratorRegistry>();
    (*registry)[User] = std::make_shared<IdentifierGenerator>(300001u, 300003u);
    XmlReader reader(
        PolicyXml(RuleXml("LocalRule", 300001, 1, "a") + RuleXml("LocalRule", 300001, 2, "b") +
                  RuleXml("LocalRule", 300001, 3, "c") + RuleXml("LocalRule", 300001, 4, "d")),
        User, L"test.xml", L"", registry);
    EXPECT_THROW(reader.GetRules(eLocalRules), std::out_of_range);
    EXPECT_EQ((std::vector<IdentifierGenerator::Segment>{{300001u, 300003u}}),
              (*registry)[User]->Segments());
}

// The largest loaded OrderId raises the counter, last or first, in any section.
TEST(XmlReaderLoad, CountersRiseToTheLargestOrderIdWhereverItStands) {
    for (const bool largestFirst : {false, true}) {
        const std::int64_t base = XmlReader::createOrderId(User);
        auto reader = MakeReader(
            PolicyXml(largestFirst ? RuleXml("LocalRule", 300001, base + 10, "largest first") +
                                         RuleXml("NatRule", 300002, base + 3, "other section") +
                                         RuleXml("LocalRule", 300003, base + 5, "then smaller")
                                   : RuleXml("LocalRule", 300001, base + 5, "a") +
                                         RuleXml("LocalRule", 300002, base + 10, "b")));
        reader->GetRules(eLocalRules);
        EXPECT_EQ(base + 11, XmlReader::createOrderId(User)) << "largest first: " << largestFirst;
    }
}

TEST(XmlReaderLoad, UpdateOrderIdStepsPastALowerValueAndJumpsToAHigherOne) {
    const std::int64_t counter = XmlReader::createOrderId(User) + 10;
    EXPECT_EQ(counter, XmlReader::UpdateOrderId(counter, User));
    EXPECT_EQ(counter + 1, XmlReader::UpdateOrderId(counter - 10, User));
    EXPECT_EQ(0, XmlReader::UpdateOrderId(counter, static_cast<CreationType>(7)));
}

TEST(XmlReaderLoad, GetRuleTypeRefusesAPlainRule) {
    auto reader = MakeReader({});
    Sarvo::Rule plain(1, 1, L"plain", Sarvo::CreationTypes::User, Sarvo::ConditionSet(),
                      PassFilter());
    EXPECT_EQ("fwcommon::XmlReader::GetRuleType.. Unsupported type",
              Thrown<std::runtime_error>([&] { reader->GetRuleType(plain); }));
}

class XmlReaderEdit : public ::testing::Test {
protected:
    std::shared_ptr<XmlReader> reader = MakeReader(PolicyXml(
        RuleXml("TransitRule", 300001, 10, "r10") + RuleXml("TransitRule", 300002, 20, "r20") +
        RuleXml("TransitRule", 300003, 30, "r30") + RuleXml("TransitRule", 300004, 40, "r40")));

    std::uint32_t IdOf(std::size_t position) {
        return (*reader->GetRules(eTransitRules))[position]->GetIdentifier();
    }
    std::vector<std::wstring> TransitNames() { return Names(reader->GetRules(eTransitRules)); }
    // A copy of the element of the rule at the position.
    std::shared_ptr<Sarvo::Rule> Copy(std::size_t position) {
        return std::shared_ptr<Sarvo::Rule>(
            (*reader->GetRules(eTransitRules))[position]->GetXmlRule()->_clone());
    }
};

// Rules of another creation type numbered far above the counter the new
// rule's order id comes from: the new rule first sorts among them, and still
// lands at the asked place.
TEST(XmlReaderCreate, PositionHoldsWhereOrderIdsLieAboveTheNewRulesCounter) {
    const long long above = XmlReader::createOrderId(User) + 1000000;
    const std::vector<std::wstring> names = {L"p0", L"p1", L"p2"};
    for (const int position : {-1, 0, 1, 2, 3}) {
        auto reader =
            MakeReader(PolicyXml(RuleXml("TransitRule", 400001, above + 1, "p0", "Policy") +
                                 RuleXml("TransitRule", 400002, above + 2, "p1", "Policy") +
                                 RuleXml("TransitRule", 400003, above + 3, "p2", "Policy")),
                       Policy);
        reader->CreateRule(eTransitRules, User, L"new", PassFilter(), position);
        std::vector<std::wstring> expected = names;
        expected.insert(expected.begin() + (position == -1 ? 3 : position), L"new");
        EXPECT_EQ(expected, Names(reader->GetRules(eTransitRules))) << "position " << position;
    }
}

// The User counter stands just below an order id a Policy rule holds: the
// new rule gets an order id of its own and the Policy rule stays indexed.
TEST(XmlReaderCreate, NewRuleNeverSharesAnOrderIdWithAnotherRule) {
    const long long base = XmlReader::createOrderId(User);
    auto reader =
        MakeReader(PolicyXml(RuleXml("TransitRule", 300001, base + 5, "user") +
                             RuleXml("TransitRule", 200001, base + 6, "policy", "Policy")));
    reader->CreateRule(eTransitRules, User, L"new", PassFilter(), -1);
    EXPECT_EQ((std::vector<std::wstring>{L"user", L"policy", L"new"}),
              Names(reader->GetRules(eTransitRules)));
    const auto orderIds = OrderIds(reader->GetRules(eTransitRules));
    EXPECT_EQ(3u, std::set<long long>(orderIds.begin(), orderIds.end()).size());
}

TEST_F(XmlReaderEdit, CreateRuleAppendsOrPlacesAtThePosition) {
    auto last = reader->CreateRule(eTransitRules, User, L"new last", PassFilter(), -1);
    auto first = reader->CreateRule(eTransitRules, User, L"new first", PassFilter(), 0);
    EXPECT_EQ(
        (std::vector<std::wstring>{L"new first", L"r10", L"r20", L"r30", L"r40", L"new last"}),
        TransitNames());
    EXPECT_EQ(User, first->GetCreationType());
    EXPECT_TRUE(reader->HasChanges());
    EXPECT_EQ(nullptr, reader->CreateRule(static_cast<RuleType>(6), User, L"x", PassFilter(), -1));

    const auto written = Written(*reader);
    ASSERT_EQ(6u, written->Rules().Rule().size());
    EXPECT_EQ(L"new last", written->Rules().Rule()[4].Name());
    EXPECT_EQ(Sarvo::RuleSections::TransitSection,
              dynamic_cast<const Sarvo::TransitRule&>(written->Rules().Rule()[4]).Section());
}

TEST_F(XmlReaderEdit, MovingBackAndForwardRotatesTheOrderIds) {
    ASSERT_TRUE(reader->ChangeRulePriority(eTransitRules, IdOf(3), -2));
    const auto rules = reader->GetRules(eTransitRules);
    EXPECT_EQ((std::vector<std::wstring>{L"r10", L"r40", L"r20", L"r30"}), Names(rules));
    EXPECT_EQ((std::vector<long long>{10, 20, 30, 40}), OrderIds(rules));

    const auto written = Written(*reader);
    EXPECT_EQ(20, written->Rules().Rule()[3].OrderId()) << "r40 moved to 20 in the document";
    EXPECT_EQ(30, written->Rules().Rule()[1].OrderId());

    // Forward, the other way.
    ASSERT_TRUE(reader->ChangeRulePriority(eTransitRules, IdOf(0), 3));
    EXPECT_EQ((std::vector<std::wstring>{L"r40", L"r20", L"r30", L"r10"}), TransitNames());
}

TEST_F(XmlReaderEdit, MovesPastEitherEndOrByZeroAreRefused) {
    EXPECT_FALSE(reader->ChangeRulePriority(eTransitRules, IdOf(3), 1));
    EXPECT_FALSE(reader->ChangeRulePriority(eTransitRules, IdOf(0), -1));
    EXPECT_FALSE(reader->ChangeRulePriority(eTransitRules, IdOf(1), 0));
    EXPECT_FALSE(reader->ChangeRulePriority(eTransitRules, IdOf(1), 5));
    EXPECT_FALSE(reader->ChangeRulePriority(eLocalRules, IdOf(1), 1)) << "not in that section";
    EXPECT_EQ((std::vector<std::wstring>{L"r10", L"r20", L"r30", L"r40"}), TransitNames());
    EXPECT_FALSE(reader->HasChanges());
}

TEST_F(XmlReaderEdit, RemovedRuleIsGoneAndItsLookupLogsTheDump) {
    const IdentifierWithType id(IdOf(1), User);
    ASSERT_TRUE(reader->RemoveRule(eTransitRules, id));
    EXPECT_FALSE(reader->RemoveRule(eTransitRules, id));
    EXPECT_EQ(3u, Written(*reader)->Rules().Rule().size());

    CapturedLog log;
    EXPECT_EQ(nullptr, reader->GetRuleById(id));
    const std::wstring expected =
        L"'XmlReader:test.xml': GetRule, can't find rule with id='300002\nLocalRules: \n"
        L"VpnRules: \nTransitRules: \n"
        L"\tDomainObjectIdentifier=300001, xmlId=300001, orderId=10, name=r10\n"
        L"\tDomainObjectIdentifier=300003, xmlId=300003, orderId=30, name=r30\n"
        L"\tDomainObjectIdentifier=300004, xmlId=300004, orderId=40, name=r40\n"
        L"TunnelRules: \nNatRules: \n";
    ASSERT_EQ(1u, log.Lines().size());
    const std::wstring line = log.Lines()[0];
    EXPECT_EQ(L'+', line[0]) << "logged at level 3";
    EXPECT_EQ(expected, line.substr(line.find(L"'XmlReader:")));
}

TEST_F(XmlReaderEdit, RemovalFromASectionThatDoesNotHoldTheRuleChangesNothing) {
    IXmlReader& asHostsSeeIt = *reader;
    const IdentifierWithType id(IdOf(1), User);
    EXPECT_FALSE(asHostsSeeIt.RemoveRule(eLocalRules, id));
    EXPECT_FALSE(asHostsSeeIt.RemoveRule(eTransitRules, {IdOf(1), Policy}));
    EXPECT_FALSE(asHostsSeeIt.HasChanges());
    asHostsSeeIt.CommitChanges();
    const auto written = Written(*reader);
    ASSERT_EQ(4u, written->Rules().Rule().size());
    EXPECT_EQ(L"r20", written->Rules().Rule()[1].Name());
    EXPECT_NE(nullptr, asHostsSeeIt.GetRuleById(id));
    CapturedLog quiet;
    EXPECT_EQ(nullptr, reader->GetRuleById({IdOf(1), Policy})) << "another creation type";
}

TEST_F(XmlReaderEdit, UpdateRuleReplacesInPlaceKeepingTheOrderId) {
    auto element = Copy(1);
    element->Name(L"renamed");
    element->OrderId(999);
    auto stored = reader->UpdateRule(eTransitRules, element);
    EXPECT_EQ(20, stored->GetXmlRule()->OrderId());
    EXPECT_EQ((std::vector<std::wstring>{L"r10", L"renamed", L"r30", L"r40"}), TransitNames());
    const auto written = Written(*reader);
    EXPECT_EQ(L"renamed", written->Rules().Rule()[1].Name());
    EXPECT_EQ(4u, written->Rules().Rule().size());
}

// The reader finds elements by RuleId through positions it remembers: a
// removal shifts the elements after it, and an edit after the removal
// still reaches its own rule.
TEST_F(XmlReaderEdit, AnEditAfterARemovalChangesThatRuleAndNoOther) {
    auto Renamed = [this](std::size_t position, const std::wstring& name) {
        auto element = Copy(position);
        element->Name(name);
        return reader->UpdateRule(eTransitRules, element);
    };
    ASSERT_TRUE(Renamed(0, L"first edit"));
    ASSERT_TRUE(reader->RemoveRule(eTransitRules, IdentifierWithType(IdOf(1), User)));
    ASSERT_TRUE(Renamed(1, L"after the removal"));
    EXPECT_EQ((std::vector<std::wstring>{L"first edit", L"after the removal", L"r40"}),
              TransitNames());
    const auto written = Written(*reader);
    ASSERT_EQ(3u, written->Rules().Rule().size());
    EXPECT_EQ(L"first edit", written->Rules().Rule()[0].Name());
    EXPECT_EQ(L"after the removal", written->Rules().Rule()[1].Name());
    EXPECT_EQ(300003, written->Rules().Rule()[1].RuleId());
    EXPECT_EQ(L"r40", written->Rules().Rule()[2].Name());
}

TEST_F(XmlReaderEdit, RollbackReturnsToTheLastCommit) {
    reader->CreateRule(eTransitRules, User, L"kept", PassFilter(), -1);
    reader->CommitChanges();
    EXPECT_FALSE(reader->HasChanges());

    reader->CreateRule(eTransitRules, User, L"dropped", PassFilter(), 0);
    reader->RemoveRule(eTransitRules, {IdOf(2), User});
    reader->ChangeRulePriority(eTransitRules, IdOf(1), 1);
    reader->RollbackChanges();
    EXPECT_FALSE(reader->HasChanges());
    EXPECT_EQ((std::vector<std::wstring>{L"r10", L"r20", L"r30", L"r40", L"kept"}), TransitNames());
    EXPECT_EQ(5u, Written(*reader)->Rules().Rule().size());
}

// Handles read before any change share the document's elements; every
// step after that leaves what each handle shows as the store says it is,
// and a handle outlives its reader.
TEST_F(XmlReaderEdit, HandlesKeepTheirContentThroughEditsRollbacksAndTheReadersEnd) {
    const auto rules = reader->GetRules(eTransitRules);
    const std::shared_ptr<IRule> removed = (*rules)[0];
    const std::shared_ptr<IRule> deactivated = (*rules)[1];
    const std::shared_ptr<IRule> untouched = (*rules)[3];

    // Through a copy: the handle of the rule takes the new content.
    const auto renamed = Copy(2);
    renamed->Name(L"renamed");
    reader->UpdateRule(eTransitRules, renamed);
    reader->RemoveRule(eTransitRules, {removed->GetIdentifier(), User});
    EXPECT_EQ(L"r10", removed->GetName());
    EXPECT_EQ(L"renamed", (*rules)[2]->GetName());

    // A change through a handle reaches the document only by UpdateRule.
    deactivated->SetActive(false);
    EXPECT_TRUE(Written(*reader)->Rules().Rule()[0].IsActive());
    reader->UpdateRule(eTransitRules, deactivated->GetXmlRule());
    EXPECT_FALSE(Written(*reader)->Rules().Rule()[0].IsActive());

    reader->RollbackChanges();
    EXPECT_EQ((std::vector<std::wstring>{L"r10", L"r20", L"r30", L"r40"}), TransitNames());
    EXPECT_EQ(removed, reader->GetRuleById({removed->GetIdentifier(), User}));
    EXPECT_TRUE(deactivated->IsActive());
    EXPECT_EQ(L"r30", (*rules)[2]->GetName());

    // After a commit the next change copies the document again.
    reader->RemoveRule(eTransitRules, {untouched->GetIdentifier(), User});
    reader->CommitChanges();
    reader->RemoveRule(eTransitRules, {removed->GetIdentifier(), User});
    reader->RollbackChanges();
    EXPECT_EQ((std::vector<std::wstring>{L"r10", L"r20", L"r30"}), TransitNames());

    reader.reset();
    for (const auto& kept : *rules) {
        EXPECT_EQ(nullptr, dynamic_cast<const Rule&>(*kept).SharedElement())
            << "a kept handle keeps the whole document of a reader gone";
    }
    EXPECT_EQ(L"r10", removed->GetName());
    EXPECT_EQ(L"r40", untouched->GetName());
    EXPECT_EQ(L"r30", (*rules)[2]->GetXmlRule()->Name());
}

// The copy the first change makes for rollback goes at the commit: every
// handle shares the committed document again or holds an element of its
// own, and the next change moves the handles to its own copy again.
TEST_F(XmlReaderEdit, ACommitGivesTheHandlesTheCommittedDocumentBack) {
    const auto SharedOf = [](const std::shared_ptr<IRule>& handle) {
        return dynamic_cast<const Rule&>(*handle).SharedElement();
    };
    const auto rules = reader->GetRules(eTransitRules);
    const std::shared_ptr<IRule> first = (*rules)[0];
    const std::shared_ptr<IRule> removed = (*rules)[1];
    const std::shared_ptr<IRule> deactivated = (*rules)[2];
    const std::shared_ptr<IRule> untouched = (*rules)[3];
    const Sarvo::Rule* const committed = SharedOf(untouched);
    ASSERT_NE(nullptr, committed);

    ASSERT_TRUE(reader->RemoveRule(eTransitRules, {removed->GetIdentifier(), User}));
    EXPECT_NE(committed, SharedOf(untouched)) << "the change did not copy the document";
    deactivated->SetActive(false);
    reader->UpdateRule(eTransitRules, deactivated->GetXmlRule());
    reader->CommitChanges();

    EXPECT_EQ(committed, SharedOf(untouched));
    EXPECT_NE(nullptr, SharedOf(first));
    EXPECT_EQ(nullptr, SharedOf(removed)) << "a removed rule's handle keeps the copy alive";
    EXPECT_EQ(L"r20", removed->GetName());
    EXPECT_FALSE(deactivated->IsActive());

    // The handles now stand at their places in the committed document: the
    // next change finds them there and moves them to its copy.
    ASSERT_TRUE(reader->RemoveRule(eTransitRules, {first->GetIdentifier(), User}));
    EXPECT_NE(committed, SharedOf(untouched)) << "a handle still shares a document that changes";
    reader->RollbackChanges();
    EXPECT_EQ((std::vector<std::wstring>{L"r10", L"r30", L"r40"}), TransitNames());
    EXPECT_EQ(L"r40", untouched->GetName());
    EXPECT_FALSE(deactivated->IsActive());
    EXPECT_FALSE(Written(*reader)->Rules().Rule()[1].IsActive());

    // A commit of option changes alone gives every handle its own rule's
    // element of the committed document back.
    const auto now = reader->GetRules(eTransitRules);
    std::vector<const Sarvo::Rule*> shared;
    for (const auto& handle : *now) {
        shared.push_back(SharedOf(handle));
    }
    reader->SetOptionValue(L"LogLevel", boost::any(std::wstring(L"3")), User);
    EXPECT_NE(shared[2], SharedOf(untouched)) << "the option change did not copy the document";
    reader->CommitChanges();
    for (std::size_t i = 0; i < now->size(); ++i) {
        EXPECT_EQ(shared[i], SharedOf((*now)[i])) << "rule " << i;
    }
    reader->RemoveRule(eTransitRules, {(*now)[0]->GetIdentifier(), User});
    reader->RollbackChanges();
    EXPECT_EQ(L"r10", (*now)[0]->GetName());
    EXPECT_EQ(L"r40", (*now)[2]->GetName());
}

TEST(XmlReaderRebuild, RefusedWhileRuleEditsArePending) {
    auto reader = MakeReader(PolicyXml(RuleXml("LocalRule", 300001, 1, "a")));
    auto created = reader->CreateRule(eLocalRules, User, L"b", PassFilter(), -1);
    reader->RollbackChanges();
    // A rule handed out before the rollback still reports its changes.
    created->SetActive(false);
    created->NotifyChanged();
    EXPECT_EQ(
        "fwcommon::XmlReader::XmlReaderInternal::ParseRules.. Can't replace original xmlReader "
        "through pending changes",
        Thrown<std::logic_error>([&] { reader->GetRules(eLocalRules); }));
    reader->RollbackChanges();
    const auto rules = reader->GetRules(eLocalRules);
    EXPECT_EQ(std::vector<std::wstring>{L"a"}, Names(rules));
    EXPECT_EQ(300001u, (*rules)[0]->GetIdentifier());
}

TEST(XmlReaderRebuild, UpdateRuleBeforeAnyReadBuildsTheIndexFirst) {
    auto reader = MakeReader(PolicyXml(RuleXml("LocalRule", 300001, 1, "a")));
    auto element = std::make_shared<Sarvo::LocalRule>(
        300009, 9, L"stored before any read", Sarvo::CreationTypes::User, Sarvo::ConditionSet(),
        PassFilter(), Sarvo::RuleSections::LocalSection);
    reader->UpdateRule(eLocalRules, element);
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"stored before any read"}),
              Names(reader->GetRules(eLocalRules)));
    EXPECT_EQ(2u, Written(*reader)->Rules().Rule().size());
    reader->RollbackChanges();
    const auto rules = reader->GetRules(eLocalRules);
    EXPECT_EQ(std::vector<std::wstring>{L"a"}, Names(rules));
    EXPECT_EQ(300001u, (*rules)[0]->GetIdentifier()) << "the build took no identifier twice";
}

TEST_F(XmlReaderEdit, UpdateRuleAsTheFirstRuleOperationAfterARollback) {
    auto element = Copy(1);
    reader->CreateRule(eTransitRules, User, L"dropped", PassFilter(), -1);
    reader->RollbackChanges();
    element->Name(L"renamed");
    reader->UpdateRule(eTransitRules, element);
    EXPECT_EQ((std::vector<std::wstring>{L"r10", L"renamed", L"r30", L"r40"}), TransitNames());
    EXPECT_EQ(L"renamed", Written(*reader)->Rules().Rule()[1].Name());
}

TEST_F(XmlReaderEdit, UpdateRuleWithAnElementOfAnotherKindMovesItsSection) {
    const std::uint32_t id = IdOf(1);
    const Sarvo::Rule& transit = *(*reader->GetRules(eTransitRules))[1]->GetXmlRule();
    auto local = std::make_shared<Sarvo::LocalRule>(
        transit.RuleId(), transit.OrderId(), L"now local", transit.CreationType(),
        Sarvo::ConditionSet(), PassFilter(), Sarvo::RuleSections::LocalSection);
    reader->UpdateRule(eLocalRules, local);

    EXPECT_EQ((std::vector<std::wstring>{L"r10", L"r30", L"r40"}), TransitNames());
    EXPECT_EQ(std::vector<std::wstring>{L"now local"}, Names(reader->GetRules(eLocalRules)));
    const auto found = reader->GetRuleById({id, User});
    ASSERT_NE(nullptr, found);
    EXPECT_EQ(L"now local", found->GetName());
    const auto written = Written(*reader);
    ASSERT_EQ(4u, written->Rules().Rule().size());
    EXPECT_NE(nullptr, dynamic_cast<const Sarvo::LocalRule*>(&written->Rules().Rule()[1]));
}

TEST_F(XmlReaderEdit, UpdateRuleReplacesTheRuleOfItsOwnCreationType) {
    auto policy = std::make_shared<Sarvo::TransitRule>(
        300002, 50, L"policy twin", Sarvo::CreationTypes::Policy, Sarvo::ConditionSet(),
        PassFilter(), Sarvo::RuleSections::TransitSection);
    reader->UpdateRule(eTransitRules, policy);
    EXPECT_EQ((std::vector<std::wstring>{L"r10", L"r20", L"r30", L"r40", L"policy twin"}),
              TransitNames());
    EXPECT_EQ(5u, Written(*reader)->Rules().Rule().size());
}

}  // namespace
}  // namespace fwcommon::test
