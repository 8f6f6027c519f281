#include <fwcommon/CreateNamedObject.h>

#include <algorithm>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/ISarvoGroupNamedObject.h>
#include <fwcommon/IScheduleNamedObject.h>
#include <fwcommon/IServiceNamedObject.h>
#include <fwcommon/ISystemObjectItem.h>
#include <fwcommon/IinterfaceNamedObject.h>
#include <fwcommon/IipAddressNamedObject.h>
#include "common/Thrown.h"
#include "domain/DomainTestSupport.h"
#include "domain/NamedObject.h"

namespace fwcommon {
namespace {

using test::RecordingListener;

constexpr std::uint32_t kIn = 0;
constexpr std::uint32_t kOut = 1;
constexpr std::int32_t kNo = -1;

template <class Kind>
std::shared_ptr<Kind> Make(NamedObjectType type, const std::wstring& name = L"object") {
    return std::dynamic_pointer_cast<Kind>(CreateNamedObject(name, L"", type, User));
}

std::shared_ptr<IipAddressNamedObject> IpObject(const std::wstring& name = L"ip") {
    return Make<IipAddressNamedObject>(eIpAddressObject, name);
}

std::vector<std::wstring> Names(const std::shared_ptr<NamedItemList>& list) {
    std::vector<std::wstring> names;
    for (const auto& entry : *list) {
        names.push_back(entry->GetName());
    }
    return names;
}

template <class Kind>
bool Is(const std::shared_ptr<INamedObject>& object) {
    return std::dynamic_pointer_cast<Kind>(object) != nullptr;
}

TEST(NamedObjectTest, FactoryBuildsEachKindBehindItsInterface) {
    struct Row {
        NamedObjectType type;
        bool (*isKind)(const std::shared_ptr<INamedObject>&);
    };
    const Row rows[] = {
        {eInterfaceObject, Is<IinterfaceNamedObject>},
        {eIpAddressObject,
         [](const std::shared_ptr<INamedObject>& o) {
             return Is<IipAddressNamedObject>(o) && !Is<IinterfaceNamedObject>(o);
         }},
        {eServiceObject, Is<IServiceNamedObject>},
        {eScheduleObject, Is<IScheduleNamedObject>},
        {eSarvoGroupObject, Is<ISarvoGroupNamedObject>},
    };
    for (const Row& row : rows) {
        auto object = CreateNamedObject(L"n", L"d", row.type, Policy);
        ASSERT_NE(nullptr, object) << "type " << row.type;
        EXPECT_EQ(row.type, object->GetNamedObjectType()) << "type " << row.type;
        EXPECT_TRUE(row.isKind(object)) << "type " << row.type;
        EXPECT_EQ(Policy, object->GetCreationType()) << "type " << row.type;
        EXPECT_EQ(eNamedObject, object->GetDomainObjectType()) << "type " << row.type;
        EXPECT_EQ(eNamedObjectItem, object->GetItemKind()) << "type " << row.type;
    }
}

TEST(NamedObjectTest, FactoryRefusesAnUnknownType) {
    EXPECT_EQ(
        "Application function: NamedObjectInternal::CreateNamedObject. Details: Incorrect "
        "named-object type.",
        test::Thrown<std::runtime_error>(
            [] { CreateNamedObject(L"n", L"d", static_cast<NamedObjectType>(5), User); }));
    EXPECT_THROW(CreateNamedObject(7ul, L"n", L"d", static_cast<NamedObjectType>(-1), User),
                 std::runtime_error);
}

TEST(NamedObjectTest, GivenIdentifierIsKeptAndNotHandedOutAgain) {
    auto given = CreateNamedObject(4000000000ul, L"n", L"d", eServiceObject, Post);
    EXPECT_EQ(4000000000u, given->GetIdentifier());
    auto drawn = CreateNamedObject(L"m", L"d", eServiceObject, Post);
    EXPECT_NE(4000000000u, drawn->GetIdentifier());
    EXPECT_NE(drawn->GetIdentifier(),
              CreateNamedObject(L"k", L"", eIpAddressObject, Post)->GetIdentifier());
    EXPECT_THROW(CreateNamedObject(0x100000000ul, L"n", L"", eServiceObject, Post),
                 std::out_of_range);
}

TEST(NamedObjectTest, NameThroughEveryInterface) {
    auto object = IpObject(L"office");
    const IDomainObject& asDomainObject = *object;
    INamedItem& asItem = *object;
    const INamedObject& asConstObject = *object;
    const std::wstring& byReference = asDomainObject.GetName();
    EXPECT_EQ(L"office", byReference);
    EXPECT_EQ(L"office", asItem.GetName());
    EXPECT_EQ(L"office", asConstObject.GetName());
    EXPECT_EQ(L"office", object->GetName());
    object->SetName(L"branch");
    EXPECT_EQ(L"branch", byReference);
    EXPECT_EQ(L"branch", asItem.GetName());
    EXPECT_EQ(&asDomainObject.GetIdentifier(), &asItem.GetIdentifier());
}

TEST(NamedObjectTest, Parameters) {
    auto object = CreateNamedObject(1234ul, L"office", L"the office", eIpAddressObject, User);
    EXPECT_EQ((std::set<int>{0, 35}), object->GetParamIds());
    EXPECT_EQ(L"office", object->GetParam(0));
    EXPECT_EQ(L"1234", object->GetParam(34));
    EXPECT_EQ(L"the office", object->GetParam(35));
    EXPECT_EQ(L"", object->GetParam(1));
    EXPECT_EQ(L"", object->GetParam(-3));
}

TEST(NamedObjectTest, RenamingKeepsTheFirstNameAsInitialName) {
    auto object = std::dynamic_pointer_cast<NamedObject>(IpObject(L"first"));
    EXPECT_EQ(L"", object->GetInitialName());
    object->SetName(L"second");
    object->SetName(L"third");
    EXPECT_EQ(L"third", object->GetName());
    EXPECT_EQ(L"first", object->GetInitialName());
}

TEST(NamedObjectTest, ChangesNotifyEachListenerOnceWithNamedObjectFamily) {
    auto object = IpObject();
    auto listener = std::make_shared<RecordingListener>();
    object->AddListener(listener);
    object->AddListener(listener);
    const std::string expected = "16:" + std::to_string(object->GetIdentifier());

    object->SetName(L"renamed");
    object->SetDescription(L"described");
    EXPECT_TRUE(object->AddSystemObject(kIn, eMyNetwork));
    EXPECT_FALSE(object->AddSystemObject(kIn, eMyNetwork));
    EXPECT_EQ((std::vector<std::string>{expected, expected, expected}), listener->calls);

    object->RemoveListener(listener);
    object->SetName(L"again");
    EXPECT_EQ(3u, listener->calls.size());
}

TEST(NamedObjectTest, EveryKindNotifiesWithNamedObjectFamilyAndItsIdentifier) {
    for (NamedObjectType type :
         {eInterfaceObject, eIpAddressObject, eServiceObject, eScheduleObject, eSarvoGroupObject}) {
        auto object = CreateNamedObject(L"n", L"", type, Post);
        auto listener = std::make_shared<RecordingListener>();
        object->AddListener(listener);
        object->SetDescription(L"changed");
        EXPECT_EQ((std::vector<std::string>{"16:" + std::to_string(object->GetIdentifier())}),
                  listener->calls)
            << "type " << type;
    }
}

TEST(NamedObjectTest, EqualityOfNamedObjects) {
    auto a = CreateNamedObject(L"same", L"x", eIpAddressObject, User);
    auto sameKindAndName = CreateNamedObject(L"same", L"y", eIpAddressObject, Policy);
    auto otherKind = CreateNamedObject(L"same", L"x", eServiceObject, User);
    auto otherName = CreateNamedObject(L"Same", L"x", eIpAddressObject, User);
    EXPECT_TRUE(a->IsEqual(sameKindAndName));
    EXPECT_FALSE(a->IsEqual(otherKind));
    EXPECT_FALSE(a->IsEqual(otherName));
    EXPECT_FALSE(a->IsEqual(IpObject()->CreateTextElement(L"same")));
    EXPECT_FALSE(a->IsEqual(nullptr));
}

TEST(NamedObjectTest, SystemObjectsAreAddedOncePerList) {
    auto object = IpObject();
    EXPECT_TRUE(object->AddSystemObject(kIn, eInternetIP));
    EXPECT_FALSE(object->AddSystemObject(kIn, eInternetIP));
    EXPECT_TRUE(object->AddSystemObject(kIn, eLocalHost));
    EXPECT_TRUE(object->AddSystemObject(kOut, eInternetIP));
    EXPECT_EQ((std::vector<std::wstring>{L"InternetIP", L"LocalHost"}),
              Names(object->GetInclusions()));
    auto entry = (*object->GetInclusions())[0];
    auto system = std::dynamic_pointer_cast<ISystemObjectItem>(entry);
    ASSERT_NE(nullptr, system);
    EXPECT_EQ(eInternetIP, system->GetSystemType());
}

TEST(NamedObjectTest, EqualItemsAreRefusedAcrossBothLists) {
    auto object = IpObject();
    EXPECT_TRUE(object->AddElement(kIn, object->CreateAddressElement(L"10.0.0.1")));
    EXPECT_FALSE(object->AddElement(kIn, object->CreateAddressElement(L"10.0.0.1")));
    EXPECT_FALSE(object->AddElement(kOut, object->CreateMaskElement(L"10.0.0.1", L"")));
    EXPECT_TRUE(object->AddElement(kOut, object->CreateRangeElement(L"10.0.0.1", L"10.0.0.1")));
    EXPECT_FALSE(object->AddElement(kIn, object->CreateRangeElement(L"10.0.0.1", L"10.0.0.1")));
    EXPECT_FALSE(object->AddElement(kIn, nullptr));
    EXPECT_EQ(1u, object->GetInclusions()->size());
    EXPECT_EQ(1u, object->GetExclusions()->size());
}

// A batch finds by hash what AddElement finds by scanning: elements of
// another form that equal a held one (an address and a mask of none), in
// either list, held before the batch began or added by it.
TEST(NamedObjectTest, ABatchRefusesWhatAddElementRefuses) {
    using Maker = std::shared_ptr<INamedObjectElement> (*)(IipAddressNamedObject&);
    const Maker kMakers[] = {
        [](IipAddressNamedObject& o) { return o.CreateAddressElement(L"10.0.0.1"); },
        [](IipAddressNamedObject& o) { return o.CreateMaskElement(L"10.0.0.1", L""); },
        [](IipAddressNamedObject& o) { return o.CreateRangeElement(L"10.0.0.1", L"10.0.0.1"); },
        [](IipAddressNamedObject& o) { return o.CreateMaskElement(L"10.0.0.0", L"8"); },
        [](IipAddressNamedObject& o) { return o.CreateAddressElement(L"10.0.0.2"); },
        [](IipAddressNamedObject& o) { return o.CreateAddressElement(L"fe80::1"); },
    };
    auto scanned = IpObject(L"scanned");
    auto batched = IpObject(L"batched");
    for (auto& object : {scanned, batched})
        ASSERT_TRUE(object->AddElement(kOut, kMakers[4](*object)));
    NamedObject::ElementBatch batch(*std::dynamic_pointer_cast<NamedObject>(batched));
    std::mt19937 random(11);
    constexpr int kSteps = 200;
    for (int step = 0; step < kSteps; ++step) {
        const std::uint32_t list = random() % 2;
        const Maker make = kMakers[random() % std::size(kMakers)];
        SCOPED_TRACE("step " + std::to_string(step));
        ASSERT_EQ(scanned->AddElement(list, make(*scanned)), batch.Add(list, make(*batched)));
    }
    EXPECT_EQ(Names(scanned->GetInclusions()), Names(batched->GetInclusions()));
    EXPECT_EQ(Names(scanned->GetExclusions()), Names(batched->GetExclusions()));
    EXPECT_FALSE(batch.Add(kIn, nullptr));
    EXPECT_THROW(batch.Add(2, kMakers[5](*batched)), std::out_of_range);
}

TEST(NamedObjectTest, ContainsItemComparesByEquality) {
    auto object = IpObject();
    object->AddElement(kIn, object->CreateAddressElement(L"10.0.0.1"));
    object->AddSystemObject(kOut, eAll);
    auto otherObject = IpObject();
    EXPECT_TRUE(object->ContainsItem(kIn, otherObject->CreateAddressElement(L"10.0.0.1")));
    EXPECT_FALSE(object->ContainsItem(kOut, otherObject->CreateAddressElement(L"10.0.0.1")));
    EXPECT_FALSE(object->ContainsItem(kIn, otherObject->CreateAddressElement(L"10.0.0.2")));
    otherObject->AddSystemObject(kIn, eAll);
    EXPECT_TRUE(object->ContainsItem(kOut, (*otherObject->GetInclusions())[0]));
}

TEST(NamedObjectTest, ListsAreCopiesSharingTheEntries) {
    auto object = IpObject();
    auto item = object->CreateAddressElement(L"10.0.0.1");
    object->AddElement(kIn, item);
    auto copy = object->GetInclusions();
    copy->clear();
    EXPECT_EQ(1u, object->GetInclusions()->size());
    EXPECT_EQ(item, (*object->GetInclusions())[0]);
}

TEST(NamedObjectTest, MoveItemGoesByIdentityToTheEndOfTheTarget) {
    auto object = IpObject();
    auto first = object->CreateAddressElement(L"10.0.0.1");
    auto moved = object->CreateAddressElement(L"10.0.0.2");
    object->AddElement(kIn, first);
    object->AddElement(kOut, moved);

    EXPECT_FALSE(object->MoveItem(kIn, object->CreateAddressElement(L"10.0.0.2")));
    EXPECT_FALSE(object->MoveItem(kOut, moved));
    EXPECT_TRUE(object->MoveItem(kIn, moved));
    EXPECT_EQ((std::vector<std::wstring>{L"10.0.0.1", L"10.0.0.2"}),
              Names(object->GetInclusions()));
    EXPECT_TRUE(object->GetExclusions()->empty());
    EXPECT_EQ(moved, (*object->GetInclusions())[1]);
}

TEST(NamedObjectTest, RemoveItemGoesByIdentifier) {
    auto object = IpObject();
    object->AddSystemObject(kIn, eLocalHost);
    object->AddSystemObject(kIn, eInternetIP);
    auto item = object->CreateAddressElement(L"10.0.0.1");
    object->AddElement(kIn, item);

    // Every system object has identifier 0: any of them removes the first.
    auto otherObject = IpObject();
    otherObject->AddSystemObject(kIn, eInternetIP);
    EXPECT_TRUE(object->RemoveItem(kIn, (*otherObject->GetInclusions())[0]));
    EXPECT_EQ((std::vector<std::wstring>{L"InternetIP", L"10.0.0.1"}),
              Names(object->GetInclusions()));
    EXPECT_FALSE(object->RemoveItem(kOut, item));
    EXPECT_FALSE(object->RemoveItem(kIn, object->CreateAddressElement(L"10.0.0.1")));
    EXPECT_TRUE(object->RemoveItem(kIn, item));
    EXPECT_EQ((std::vector<std::wstring>{L"InternetIP"}), Names(object->GetInclusions()));
}

TEST(NamedObjectTest, UpdateElementReplacesInPlaceUnlessTheNewContentIsTaken) {
    auto object = IpObject();
    auto a = object->CreateAddressElement(L"10.0.0.1");
    auto b = object->CreateAddressElement(L"10.0.0.2");
    auto c = object->CreateAddressElement(L"10.0.0.3");
    object->AddElement(kIn, a);
    object->AddElement(kIn, b);
    object->AddElement(kOut, c);

    EXPECT_FALSE(
        object->UpdateElement(kIn, object->CreateAddressElement(L"10.0.0.2"), a->GetIdentifier()));
    EXPECT_FALSE(
        object->UpdateElement(kIn, object->CreateAddressElement(L"10.0.0.3"), a->GetIdentifier()));
    EXPECT_FALSE(
        object->UpdateElement(kIn, object->CreateAddressElement(L"10.0.0.9"), c->GetIdentifier()));
    // The entry being replaced may equal its new content.
    EXPECT_TRUE(
        object->UpdateElement(kIn, object->CreateAddressElement(L"10.0.0.1"), a->GetIdentifier()));
    auto replacement = object->CreateRangeElement(L"10.0.0.5", L"10.0.0.6");
    EXPECT_TRUE(object->UpdateElement(kIn, replacement, b->GetIdentifier()));
    EXPECT_EQ((std::vector<std::wstring>{L"10.0.0.1", L"10.0.0.5-10.0.0.6"}),
              Names(object->GetInclusions()));
    EXPECT_EQ(replacement, (*object->GetInclusions())[1]);
}

TEST(NamedObjectTest, NamedObjectsAreAddedOnceAndNeverIntoACycle) {
    auto a = IpObject(L"a");
    auto b = IpObject(L"b");
    auto c = IpObject(L"c");
    EXPECT_FALSE(a->AddNamedObject(kIn, a));
    EXPECT_TRUE(a->AddNamedObject(kIn, b));
    EXPECT_FALSE(a->AddNamedObject(kIn, b));
    EXPECT_TRUE(a->AddNamedObject(kOut, b));  // only the target list is checked
    EXPECT_TRUE(b->AddNamedObject(kIn, c));
    EXPECT_FALSE(b->AddNamedObject(kIn, a));   // a holds b
    EXPECT_FALSE(c->AddNamedObject(kOut, a));  // a holds b holds c
    EXPECT_FALSE(a->AddNamedObject(kIn, nullptr));
    // A stand-in with a's identity counts as a.
    auto aAgain = CreateNamedObject(a->GetIdentifier(), L"a2", L"", eIpAddressObject, User);
    EXPECT_FALSE(a->AddNamedObject(kIn, aAgain));
}

// A random run of the edits that change which objects a list refers to,
// against a model of the two lists: a reference is refused exactly while
// its list holds the object, whatever edits came before.
TEST(NamedObjectTest, ReferencesAreRefusedExactlyWhileTheListHoldsThem) {
    std::vector<std::shared_ptr<INamedObject>> pool;
    for (const wchar_t* name : {L"a", L"b", L"c", L"d", L"e"})
        pool.push_back(IpObject(name));
    std::shared_ptr<NamedObject> group = std::dynamic_pointer_cast<NamedObject>(IpObject(L"g"));
    std::vector<std::wstring> model[2];
    const auto holds = [&model](std::uint32_t list, const std::wstring& name) {
        return std::find(model[list].begin(), model[list].end(), name) != model[list].end();
    };
    const auto drop = [&model](std::uint32_t list, const std::wstring& name) {
        model[list].erase(std::find(model[list].begin(), model[list].end(), name));
    };
    std::mt19937 random(7);
    constexpr int kSteps = 600;
    constexpr unsigned kEdits = 5;
    for (int step = 0; step < kSteps; ++step) {
        const unsigned edit = random() % kEdits;
        const std::uint32_t list = random() % 2;
        const std::shared_ptr<INamedObject>& object = pool[random() % pool.size()];
        const std::wstring name = object->GetName();
        SCOPED_TRACE("step " + std::to_string(step) + ", edit " + std::to_string(edit));
        switch (edit) {
            case 0:
                ASSERT_EQ(!holds(list, name), group->AddNamedObject(list, object));
                if (!holds(list, name))
                    model[list].push_back(name);
                break;
            case 1:
                ASSERT_EQ(holds(list, name), group->RemoveItem(list, object));
                if (holds(list, name))
                    drop(list, name);
                break;
            case 2:  // into list from the other one, even where list holds it too
                ASSERT_EQ(holds(1 - list, name), group->MoveItem(list, object));
                if (holds(1 - list, name)) {
                    drop(1 - list, name);
                    model[list].push_back(name);
                }
                break;
            case 3:
                ASSERT_EQ(holds(0, name) || holds(1, name), group->RemoveEntriesNaming(*object));
                for (auto& entries : model)
                    entries.erase(std::remove(entries.begin(), entries.end(), name), entries.end());
                break;
            default: {  // carry on with a copy
                auto copy = std::dynamic_pointer_cast<NamedObject>(IpObject(L"copy"));
                copy->AssignFrom(group);
                group = copy;
                break;
            }
        }
        ASSERT_EQ(model[0], Names(group->GetInclusions()));
        ASSERT_EQ(model[1], Names(group->GetExclusions()));
    }
}

TEST(NamedObjectTest, ContainmentSearchEndsOnACycleMadeByAssignment) {
    auto a = IpObject(L"a");
    auto b = IpObject(L"b");
    ASSERT_TRUE(a->AddNamedObject(kIn, b));
    // AssignFrom copies a's lists into b, so b now holds itself.
    b->AssignFrom(a);
    auto d = IpObject(L"d");
    EXPECT_TRUE(d->AddNamedObject(kIn, b));
    EXPECT_FALSE(b->AddNamedObject(kOut, a));
    // Shared ownership does not free a cycle: break it.
    EXPECT_TRUE(b->RemoveItem(kIn, b));
}

TEST(NamedObjectTest, CopyElementMakesAnItemOfTheObjectsClass) {
    auto interfaces = Make<IinterfaceNamedObject>(eInterfaceObject);
    auto ifItem = interfaces->CreateInterfaceElement(L"eth0");
    auto copy = interfaces->CopyElement(ifItem);
    EXPECT_NE(ifItem->GetIdentifier(), copy->GetIdentifier());
    EXPECT_TRUE(copy->IsEqual(ifItem));
    EXPECT_EQ(L"eth0", copy->GetName());

    auto services = Make<IServiceNamedObject>(eServiceObject);
    auto blank = services->CopyElement(interfaces->CreateAddressElement(L"10.0.0.1"));
    EXPECT_EQ(eServiceObject, blank->GetElementType());
    EXPECT_FALSE(blank->IsEqual(ifItem));
    auto tcp = services->CreateTcpElement(kNo, kNo, 80, 80);
    EXPECT_TRUE(services->CopyElement(tcp)->IsEqual(tcp));
}

TEST(NamedObjectTest, AssignFromTakesContentButKeepsIdentity) {
    auto source = CreateNamedObject(L"source", L"described", eIpAddressObject, Policy);
    auto sourceIp = std::dynamic_pointer_cast<IipAddressNamedObject>(source);
    source->SetName(L"renamed source");
    sourceIp->AddElement(kIn, sourceIp->CreateAddressElement(L"10.0.0.1"));
    sourceIp->AddSystemObject(kOut, eAll);

    auto target = std::dynamic_pointer_cast<NamedObject>(IpObject(L"target"));
    const std::uint32_t identifier = target->GetIdentifier();
    auto listener = std::make_shared<RecordingListener>();
    target->AddListener(listener);
    target->AssignFrom(source);
    target->AssignFrom(target);

    EXPECT_EQ(L"renamed source", target->GetName());
    EXPECT_EQ(L"described", target->GetDescription());
    EXPECT_EQ(L"source", target->GetInitialName());
    EXPECT_EQ(identifier, target->GetIdentifier());
    EXPECT_EQ(User, target->GetCreationType());
    EXPECT_EQ((*source->GetInclusions())[0], (*target->GetInclusions())[0]);
    EXPECT_EQ(1u, target->GetExclusions()->size());
    EXPECT_TRUE(listener->calls.empty());
}

TEST(NamedObjectTest, KindFactoriesBuildUnlistedItems) {
    auto services = Make<IServiceNamedObject>(eServiceObject);
    EXPECT_EQ(L"6 */80-80", services->CreateTcpElement(kNo, kNo, 80, 80)->GetName());
    EXPECT_EQ(L"17 53/*", services->CreateUdpElement(53, kNo, kNo, kNo)->GetName());
    EXPECT_EQ(L"1 8/0", services->CreateIcmpElement(8, 0)->GetName());
    EXPECT_EQ(L"47", services->CreateProtocolElement(47)->GetName());
    EXPECT_TRUE(services->GetInclusions()->empty());

    auto schedules = Make<IScheduleNamedObject>(eScheduleObject);
    EXPECT_EQ(L"Daily 8:0-17:0", schedules->CreateDailyElement(8, 0, 17, 0)->GetName());
    EXPECT_EQ(L"Weekly 8:0-17:0-31", schedules->CreateWeeklyElement(8, 0, 17, 0, 31)->GetName());
    EXPECT_EQ(L"Calendar 2024/1/1 0:0-2024/1/2 0:0",
              schedules->CreateCalendarElement(2024, 1, 1, 0, 0, 2024, 1, 2, 0, 0)->GetName());

    auto group = Make<ISarvoGroupNamedObject>(eSarvoGroupObject);
    EXPECT_EQ(L"ID 9", group->CreateNodeElement(9)->GetName());
    EXPECT_EQ(L"NET 3", group->CreateNetworkElement(3)->GetName());
    EXPECT_EQ(L"MASK x*", group->CreateTemplateElement(L"x*")->GetName());

    auto ip = IpObject();
    EXPECT_EQ(L"a.example", ip->CreateTextElement(L"a.example")->GetName());
}

TEST(NamedObjectTest, GroupRemovesTheItemsOfTheGivenNodes) {
    auto group = Make<ISarvoGroupNamedObject>(eSarvoGroupObject);
    group->AddElement(kIn, group->CreateNodeElement(1));
    group->AddElement(kIn, group->CreateNodeElement(2));
    group->AddElement(kIn, group->CreateNetworkElement(1));
    group->AddElement(kIn, group->CreateTemplateElement(L"1"));
    group->AddElement(kOut, group->CreateNodeElement(3));
    group->AddElement(kOut, group->CreateNodeElement(4));
    group->AddSystemObject(kOut, eMyVPN);

    group->RemoveVpnNodes({1, 3, 99});
    EXPECT_EQ((std::vector<std::wstring>{L"ID 2", L"NET 1", L"MASK 1"}),
              Names(group->GetInclusions()));
    EXPECT_EQ((std::vector<std::wstring>{L"ID 4", L"MyVPN"}), Names(group->GetExclusions()));
}

TEST(NamedObjectTest, ListIndexOtherThanZeroOrOneIsRefused) {
    auto object = IpObject();
    EXPECT_EQ("fwcommon::NamedObject::AddSystemObject.List index 2 is neither 0 nor 1",
              test::Thrown<std::out_of_range>([&] { object->AddSystemObject(2, eAll); }));
    EXPECT_THROW(object->MoveItem(7, nullptr), std::out_of_range);
}

}  // namespace
}  // namespace fwcommon
