#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/Context.h>
#include <fwcommon/CreateNamedObject.h>
#include <fwcommon/INamedObject.h>
#include "common/Thrown.h"
#include "context/ContextTestSupport.h"
#include "context/PolicyFixtures.h"

namespace fwcommon::test {
namespace {

const std::wstring kObjects = L"NamedObjects.xml";
const std::wstring kRules = L"rules.xml";

std::vector<std::wstring> ObjectNames(const std::shared_ptr<const NamedObjectList>& objects) {
    std::vector<std::wstring> names;
    for (const auto& object : *objects) {
        const INamedObject& named = *object;
        names.push_back(named.GetName());
    }
    return names;
}

Context::ModesMap IpObjectsEditable() {
    return {{eIpAddressObject, Context::Modes::eEditable}};
}

// Registers a named-objects document with "Office" (5001) and "Servers"
// (5002), and a rules document whose rule "to office" names 5001.
void RegisterDocuments(Context& context) {
    context.AppendXmlReader(
        kObjects, PolicyXml("", IpObjectXml(5001, "Office") + IpObjectXml(5002, "Servers")), Policy,
        IpObjectsEditable(), L"");
    context.AppendXmlReader(kRules,
                            PolicyXml(RuleXml("LocalRule", 300001, 300001, "to office", "User",
                                              DestinationIsObject(5001)) +
                                      RuleXml("LocalRule", 300002, 300002, "other")),
                            User, AllRulesEditable(), L"");
}

class ContextNamedObjectEdits : public ::testing::Test {
protected:
    void SetUp() override { RegisterDocuments(context); }

    Context context{kObjects};
    SignalLog signals{context};
};

TEST_F(ContextNamedObjectEdits, ObjectsOfTheDocumentAreListedInOrderAndByKind) {
    EXPECT_EQ((std::vector<std::wstring>{L"Office", L"Servers"}),
              ObjectNames(context.GetNamedObjects(kObjects)));
    EXPECT_EQ((std::vector<std::wstring>{L"Office", L"Servers"}),
              ObjectNames(context.GetNamedObjects(kObjects, eIpAddressObject)));
    EXPECT_TRUE(context.GetNamedObjects(kObjects, eServiceObject)->empty());
    EXPECT_TRUE(context.GetNamedObjects(kRules)->empty());
    EXPECT_THROW(context.GetNamedObjects(L"unknown.xml"), std::runtime_error);
}

TEST_F(ContextNamedObjectEdits, LookUpsFindByIndexNameAndIdentity) {
    const auto byIndex = context.GetNamedObject(kObjects, 1u);
    EXPECT_EQ(5002u, byIndex->GetIdentifier());
    EXPECT_EQ(byIndex, context.GetNamedObject(kObjects, Policy, L"Servers"));
    EXPECT_EQ(byIndex, context.GetNamedObjectById(kObjects, IdentifierWithType(5002, Policy)));
    EXPECT_EQ(nullptr, context.GetNamedObject(kObjects, User, L"Servers"));
    EXPECT_EQ(nullptr, context.GetNamedObjectById(kObjects, IdentifierWithType(5002, User)));
    EXPECT_EQ("invalid vector<T> subscript",
              Thrown<std::out_of_range>([&] { context.GetNamedObject(kObjects, 2u); }))
        << "index 2 of 2 objects";
}

TEST_F(ContextNamedObjectEdits, CreateAddsToRecordsAndDocumentAndAnnounces) {
    const auto object = context.CreateNamedObject(kObjects, L"Lab", L"test lab", eIpAddressObject);
    ASSERT_NE(nullptr, object);
    EXPECT_EQ(Policy, object->GetCreationType());
    EXPECT_EQ(eIpAddressObject, object->GetNamedObjectType());
    EXPECT_EQ((std::vector<std::wstring>{L"Office", L"Servers", L"Lab"}),
              ObjectNames(context.GetNamedObjects(kObjects)));
    EXPECT_TRUE(Holds(Written(context, kObjects), "<Name>Lab</Name>"));
    ASSERT_EQ(1u, signals.added.size());
    EXPECT_EQ(kObjects, signals.added[0].first);
    EXPECT_EQ(object, signals.added[0].second);
    EXPECT_EQ("(1,0)", Text(context.GetNamedObjectsChanges()));
    EXPECT_TRUE(context.HasChanges());
}

TEST_F(ContextNamedObjectEdits, CreateOfAKindNotEditableChangesNothing) {
    EXPECT_EQ(nullptr, context.CreateNamedObject(kObjects, L"web", L"", eServiceObject));
    // The rules document has keys 1 to 5 editable, which IP objects share.
    EXPECT_EQ(nullptr, context.CreateNamedObject(kRules, L"lan", L"", eInterfaceObject));
    EXPECT_EQ(2u, context.GetNamedObjects(kObjects)->size());
    EXPECT_TRUE(context.GetNamedObjects(kRules)->empty());
    EXPECT_TRUE(signals.added.empty());
    EXPECT_EQ("none", Text(context.GetNamedObjectsChanges()));
    EXPECT_FALSE(context.HasChanges());
}

TEST_F(ContextNamedObjectEdits, UpdateChangesTheKeptObjectInPlace) {
    const auto kept = context.GetNamedObject(kObjects, Policy, L"Office");
    const auto edited = CreateNamedObject(5001, L"Head office", L"moved", eIpAddressObject, Policy);
    ASSERT_TRUE(context.UpdateNamedObject(kObjects, edited));
    const INamedObject& keptObject = *kept;
    EXPECT_EQ(L"Head office", keptObject.GetName());
    EXPECT_EQ(kept, context.GetNamedObject(kObjects, 0u));
    EXPECT_TRUE(Holds(Written(context, kObjects), "<Name>Head office</Name>"));
    ASSERT_FALSE(signals.modified.empty());
    EXPECT_EQ(SignalLog::Change(kObjects, eNamedObject, Policy, 5001), signals.modified.back());
    EXPECT_TRUE(signals.added.empty());
}

TEST_F(ContextNamedObjectEdits, UpdateOfAnUnknownIdentityAddsTheObject) {
    const auto stranger = CreateNamedObject(L"Guest net", L"", eIpAddressObject, Policy);
    ASSERT_TRUE(context.UpdateNamedObject(kObjects, stranger));
    EXPECT_EQ(stranger, context.GetNamedObject(kObjects, 2u));
    ASSERT_EQ(1u, signals.added.size());
    EXPECT_EQ(stranger, signals.added[0].second);
    EXPECT_TRUE(Holds(Written(context, kObjects), "<Name>Guest net</Name>"));

    const auto service = CreateNamedObject(L"web", L"", eServiceObject, Policy);
    EXPECT_FALSE(context.UpdateNamedObject(kObjects, service));
    EXPECT_THROW(context.UpdateNamedObject(kObjects, nullptr), std::invalid_argument);
}

TEST_F(ContextNamedObjectEdits, RemovalOfAnAbsentObjectIsLoggedAndRefused) {
    CapturedLog log;
    EXPECT_FALSE(context.RemoveNamedObject(kObjects, Policy, L"Nowhere"));
    EXPECT_FALSE(context.RemoveNamedObjectById(kObjects, IdentifierWithType(5001, User)));
    EXPECT_EQ((std::vector<std::wstring>{
                  LogLine(3, L"'NamedObjects.xml': RemoveNamedObject, name='Nowhere' - not found"),
                  LogLine(3, L"'NamedObjects.xml': RemoveNamedObjectById, id='5001' - not found")}),
              ContextLines(log));
    EXPECT_THROW(context.RemoveNamedObject(kObjects, 2u), std::out_of_range);
    EXPECT_FALSE(context.HasChanges());
}

// The three ways of removing "Office", and what each announces.
struct Removal {
    const char* name;
    std::function<bool(Context&)> remove;
    bool announcesRemoval;
};

const Removal kRemovals[] = {
    {"by name", [](Context& c) { return c.RemoveNamedObject(kObjects, Policy, L"Office"); }, true},
    {"by index", [](Context& c) { return c.RemoveNamedObject(kObjects, 0u); }, true},
    {"by id",
     [](Context& c) { return c.RemoveNamedObjectById(kObjects, IdentifierWithType(5001, Policy)); },
     false},
};

TEST(ContextNamedObjectRemovals, RemovalTakesTheObjectAndItsReferencesOut) {
    for (const Removal& removal : kRemovals) {
        SCOPED_TRACE(removal.name);
        Context context{kObjects};
        RegisterDocuments(context);
        SignalLog seen(context);
        const auto rule = context.GetRule(kRules, eLocalRules, 0);

        ASSERT_TRUE(removal.remove(context));
        EXPECT_EQ(std::vector<std::wstring>{L"Servers"},
                  ObjectNames(context.GetNamedObjects(kObjects)));
        EXPECT_FALSE(Holds(Written(context, kObjects), "<Name>Office</Name>"));
        const auto rules = Written(context, kRules);
        EXPECT_FALSE(Holds(rules, "<Id>5001</Id>"));
        EXPECT_TRUE(Holds(rules, "<Name>to office</Name>"));
        // The rule that named the object is announced as modified.
        EXPECT_EQ(std::vector<SignalLog::Change>{SignalLog::Change(kRules, eRule, User,
                                                                   rule->GetIdentifier())},
                  seen.modified);
        const std::vector<SignalLog::Change> removed =
            removal.announcesRemoval
                ? std::vector<SignalLog::Change>{{kObjects, eNamedObject, Policy, 5001}}
                : std::vector<SignalLog::Change>{};
        EXPECT_EQ(removed, seen.removed);
        EXPECT_TRUE(context.HasChanges());
    }
}

TEST(ContextNamedObjectRemovals, RollbackBringsBackAnObjectRemovedAnyWay) {
    for (const Removal& removal : kRemovals) {
        SCOPED_TRACE(removal.name);
        Context context{kObjects};
        RegisterDocuments(context);
        const auto rulesBefore = Written(context, kRules);
        NamedObjectList rolledBack;
        context.namedObjectsRolledBack.connect(
            [&](const NamedObjectList& objects) { rolledBack = objects; });
        ASSERT_TRUE(removal.remove(context));
        SignalLog seen(context);
        ASSERT_TRUE(context.RollbackChanges());

        EXPECT_EQ((std::vector<std::wstring>{L"Servers", L"Office"}),
                  ObjectNames(context.GetNamedObjects(kObjects)));
        EXPECT_TRUE(Holds(Written(context, kObjects), "<Name>Office</Name>"));
        EXPECT_EQ(rulesBefore, Written(context, kRules));
        EXPECT_EQ(
            std::vector<SignalLog::Change>{SignalLog::Change(kObjects, eNamedObject, Policy, 5001)},
            seen.modified);
        ASSERT_EQ(1u, rolledBack.size());
        EXPECT_EQ(5001u, rolledBack[0]->GetIdentifier());
        EXPECT_FALSE(context.HasChanges());
        EXPECT_EQ("none", Text(context.GetNamedObjectsChanges()));
    }
}

TEST_F(ContextNamedObjectEdits, RollbackDropsCreatedObjectsAndAnnouncesTheirRemoval) {
    const auto object = context.CreateNamedObject(kObjects, L"Lab", L"", eIpAddressObject);
    ASSERT_TRUE(context.RollbackChanges());
    EXPECT_EQ((std::vector<std::wstring>{L"Office", L"Servers"}),
              ObjectNames(context.GetNamedObjects(kObjects)));
    EXPECT_FALSE(Holds(Written(context, kObjects), "<Name>Lab</Name>"));
    EXPECT_EQ(std::vector<SignalLog::Change>{SignalLog::Change(kObjects, eNamedObject, Policy,
                                                               object->GetIdentifier())},
              signals.removed);
}

TEST_F(ContextNamedObjectEdits, CommitKeepsTheRemovalAndClearsTheRecords) {
    ASSERT_TRUE(context.RemoveNamedObjectById(kObjects, IdentifierWithType(5001, Policy)));
    EXPECT_EQ("(1,2)", Text(context.GetNamedObjectsChanges()));
    ASSERT_TRUE(context.CommitChanges());
    EXPECT_EQ("none", Text(context.GetNamedObjectsChanges()));
    ASSERT_TRUE(context.RollbackChanges());
    EXPECT_EQ(std::vector<std::wstring>{L"Servers"},
              ObjectNames(context.GetNamedObjects(kObjects)));
    EXPECT_FALSE(Holds(Written(context, kRules), "<Id>5001</Id>"));
}

TEST_F(ContextNamedObjectEdits, ChangeRecordOfACreationOutlivesLaterRemovals) {
    context.CreateNamedObject(kObjects, L"Lab", L"", eIpAddressObject);
    EXPECT_EQ("(1,0)", Text(context.GetNamedObjectsChanges()));
    ASSERT_TRUE(context.RemoveNamedObjectById(kObjects, IdentifierWithType(5002, Policy)));
    EXPECT_EQ("(1,0)", Text(context.GetNamedObjectsChanges()));
    ASSERT_TRUE(context.CommitChanges());
    EXPECT_EQ("none", Text(context.GetNamedObjectsChanges()));
}

TEST_F(ContextNamedObjectEdits, ObjectChangedInPlaceIsAnnouncedWrittenAndCommitted) {
    NamedObjectList committed;
    context.namedObjectsCommitted.connect(
        [&](const NamedObjectList& objects) { committed = objects; });
    const auto office = context.GetNamedObject(kObjects, 0u);
    office->SetName(L"Office 2");
    EXPECT_EQ(
        std::vector<SignalLog::Change>{SignalLog::Change(kObjects, eNamedObject, Policy, 5001)},
        signals.modified);
    EXPECT_TRUE(Holds(Written(context, kObjects), "<Name>Office 2</Name>"));
    ASSERT_TRUE(context.CommitChanges());
    EXPECT_EQ((std::vector<std::wstring>{L"Office 2", L"Servers"}),
              ObjectNames(std::make_shared<const NamedObjectList>(committed)));
    ASSERT_TRUE(context.RollbackChanges());
    EXPECT_TRUE(Holds(Written(context, kObjects), "<Name>Office 2</Name>"));
}

TEST(ContextSetNamedObjects, RegistersListsAndReplacesWithoutADocument) {
    Context context;
    const NamedObjectList first = {CreateNamedObject(L"b", L"", eIpAddressObject, User),
                                   CreateNamedObject(L"a", L"", eServiceObject, User)};
    CapturedLog log;
    context.SetNamedObjects(L"list", first, User,
                            {{0, Context::Modes::eReadOnly},
                             {2, Context::Modes::eEditable},
                             {3, Context::Modes::eEditable}});
    EXPECT_EQ(
        std::vector<std::wstring>{LogLine(2, L"'list': SetNamedObjects, mode: (0,0)\t(2,1)\t")},
        log.Lines());
    EXPECT_EQ(std::vector<std::wstring>{L"list"}, context.GetDatanames());
    EXPECT_EQ((std::vector<std::wstring>{L"b", L"a"}),
              ObjectNames(context.GetNamedObjects(L"list")));
    EXPECT_TRUE(context.IsNamedObjectsEditable(L"list", eServiceObject));
    EXPECT_FALSE(context.IsNamedObjectsEditable(L"list", eInterfaceObject));

    const NamedObjectList second = {CreateNamedObject(L"c", L"", eIpAddressObject, User)};
    context.SetNamedObjects(L"list", second, Post, {});
    EXPECT_EQ(std::vector<std::wstring>{L"c"}, ObjectNames(context.GetNamedObjects(L"list")));
    // The entry keeps the modes it was registered with.
    EXPECT_TRUE(context.IsNamedObjectsEditable(L"list", eServiceObject));
    std::vector<unsigned char> bytes;
    EXPECT_THROW(context.GetXmlData(L"list", bytes), std::runtime_error);
}

TEST(ContextSetNamedObjects, RollbackPutsBackObjectsRemovedFromAList) {
    Context context;
    const NamedObjectList objects = {CreateNamedObject(L"a", L"", eIpAddressObject, User),
                                     CreateNamedObject(L"b", L"", eIpAddressObject, User)};
    context.SetNamedObjects(L"list", objects, User, IpObjectsEditable());
    ASSERT_TRUE(context.RemoveNamedObject(L"list", User, L"a"));
    ASSERT_TRUE(context.RemoveNamedObjectById(L"list", Context::GetDomainObject(objects[1])));
    EXPECT_TRUE(context.GetNamedObjects(L"list")->empty());
    ASSERT_TRUE(context.RollbackChanges());
    EXPECT_EQ(objects, *context.GetNamedObjects(L"list"));
}

TEST_F(ContextNamedObjectEdits, RollbackLeavesOutObjectsCreatedAndRemovedSinceTheCommit) {
    ASSERT_NE(nullptr, context.CreateNamedObject(kObjects, L"Lab", L"", eIpAddressObject));
    ASSERT_TRUE(context.RemoveNamedObject(kObjects, Policy, L"Lab"));
    ASSERT_TRUE(context.RollbackChanges());
    EXPECT_EQ((std::vector<std::wstring>{L"Office", L"Servers"}),
              ObjectNames(context.GetNamedObjects(kObjects)));
    EXPECT_FALSE(Holds(Written(context, kObjects), "<Name>Lab</Name>"));
}

TEST(ContextSetNamedObjects, RefusesAnEmptyDatanameAndEmptyObjects) {
    Context context;
    EXPECT_THROW(context.SetNamedObjects(L"", {}, User, {}), std::runtime_error);
    EXPECT_EQ("fwcommon::Context::SetNamedObjects.Empty named object",
              Thrown<std::invalid_argument>(
                  [&] { context.SetNamedObjects(L"list", {nullptr}, User, {}); }));
    EXPECT_TRUE(context.GetDatanames().empty());
}

TEST(ContextSetNamedObjects, AnyEditableModeMakesNamedObjectsEditable) {
    Context context;
    EXPECT_FALSE(context.IsNamedObjectsEditable());
    context.AppendXmlReader(L"a.xml", {}, User, {{eIpAddressObject, Context::Modes::eReadOnly}},
                            L"");
    EXPECT_FALSE(context.IsNamedObjectsEditable());
    context.AppendXmlReader(L"b.xml", {}, User, {{eLocalRules, Context::Modes::eEditable}}, L"");
    EXPECT_TRUE(context.IsNamedObjectsEditable());
    EXPECT_FALSE(context.IsNamedObjectsEditable(L"b.xml", eIpAddressObject));
    EXPECT_TRUE(context.IsNamedObjectsEditable(L"b.xml", eSarvoGroupObject));  // key 4 is shared
    EXPECT_FALSE(context.IsNamedObjectsEditable(L"unknown.xml", eSarvoGroupObject));
}

}  // namespace
}  // namespace fwcommon::test
