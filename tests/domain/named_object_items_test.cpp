#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "domain/InterfaceNamedObjectItem.h"
#include "domain/IpAddressNamedObjectItem.h"
#include "domain/SarvoNamedObjectItem.h"
#include "domain/ScheduleNamedObjectItem.h"
#include "domain/ServiceNamedObjectItem.h"
#include "domain/SystemObject.h"

namespace fwcommon {
namespace {

constexpr std::int32_t kNo = -1;

// What GetParam throws: its type and message, or "" for no exception.
std::string ParamFailure(const INamedItem& item, int id) {
    try {
        item.GetParam(id);
        return "";
    } catch (const std::logic_error& e) {
        return std::string("logic_error: ") + e.what();
    } catch (const std::runtime_error& e) {
        return std::string("runtime_error: ") + e.what();
    }
}

// One expected text form of one item.
struct TextRow {
    std::string what;
    std::shared_ptr<INamedObjectElement> item;
    std::wstring name;
    std::wstring text;
    std::set<int> ids;
};

TEST(NamedObjectItemsTest, NamesTextsAndParameterIds) {
    const std::vector<TextRow> rows = {
        {"free text",
         IpAddressNamedObjectItem::FromText(L"www.example.com"),
         L"www.example.com",
         L"www.example.com",
         {0, 29}},
        {"address",
         IpAddressNamedObjectItem::FromAddress(L"10.0.0.1"),
         L"10.0.0.1",
         L"10.0.0.1",
         {0, 28}},
        {"address with mask",
         IpAddressNamedObjectItem::FromAddressAndMask(L"10.0.0.0", L"255.0.0.0"),
         L"10.0.0.0/255.0.0.0",
         L"10.0.0.0/255.0.0.0",
         {0, 25, 28}},
        {"address, empty mask",
         IpAddressNamedObjectItem::FromAddressAndMask(L"10.0.0.1", L""),
         L"10.0.0.1",
         L"10.0.0.1",
         {0, 28}},
        {"range",
         IpAddressNamedObjectItem::FromRange(L"10.0.0.1", L"10.0.0.9"),
         L"10.0.0.1-10.0.0.9",
         L"10.0.0.1-10.0.0.9",
         {0, 26, 27}},
        {"interface",
         InterfaceNamedObjectItem::FromInterfaceName(L"eth0"),
         L"eth0",
         L"eth0",
         {0, 30}},
        {"tcp to port 80",
         ServiceNamedObjectItem::WithPorts(6, kNo, kNo, 80, 80),
         L"6 */80-80",
         L"6",
         {0, 17, 18, 21, 22}},
        {"udp from 53",
         ServiceNamedObjectItem::WithPorts(17, 53, kNo, 1024, 65535),
         L"17 53/1024-65535",
         L"17",
         {0, 17, 18, 19, 21, 22}},
        {"icmp", ServiceNamedObjectItem::Icmp(8, 0), L"1 8/0", L"1", {0, 17, 18, 23, 24}},
        {"icmp without code",
         ServiceNamedObjectItem::Icmp(3, kNo),
         L"1 3/-1",
         L"1",
         {0, 17, 18, 24}},
        {"gre", std::make_shared<ServiceNamedObjectItem>(47), L"47", L"47", {0, 17, 18}},
        {"new schedule",
         std::make_shared<ScheduleNamedObjectItem>(),
         L"Daily 0:0-23:59",
         L"Daily",
         {0, 1, 7, 8, 9, 10}},
        {"daily",
         ScheduleNamedObjectItem::Daily(8, 5, 17, 30),
         L"Daily 8:5-17:30",
         L"Daily",
         {0, 1, 4, 5, 7, 8, 9, 10}},
        {"weekly",
         ScheduleNamedObjectItem::Weekly(8, 0, 12, 0, 31),
         L"Weekly 8:0-12:0-31",
         L"Weekly",
         {0, 1, 4, 5, 6, 7, 8, 9, 10}},
        {"calendar",
         ScheduleNamedObjectItem::Calendar(2024, 1, 2, 8, 5, 2024, 12, 31, 17, 30),
         L"Calendar 2024/1/2 8:5-2024/12/31 17:30",
         L"Calendar",
         {0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
        {"vpn node", SarvoNamedObjectItem::ForNode(7), L"ID 7", L"7", {0, 33}},
        {"vpn node 0", SarvoNamedObjectItem::ForNode(0), L"NET 0", L"0", {0, 33}},
        {"vpn network", SarvoNamedObjectItem::ForNetwork(12), L"NET 12", L"12", {0, 32}},
        {"vpn template",
         SarvoNamedObjectItem::FromTemplate(L"branch*"),
         L"MASK branch*",
         L"branch*",
         {0, 31}},
    };
    for (const TextRow& row : rows) {
        EXPECT_EQ(row.name, row.item->GetName()) << row.what;
        EXPECT_EQ(row.text, row.item->GetText()) << row.what;
        EXPECT_EQ(row.ids, row.item->GetParamIds()) << row.what;
        EXPECT_EQ(eElementItem, row.item->GetItemKind()) << row.what;
    }
}

TEST(NamedObjectItemsTest, DetailsOfServiceAndScheduleItems) {
    EXPECT_EQ(L"*/80-80", ServiceNamedObjectItem::WithPorts(6, kNo, kNo, 80, 80)->GetDetails());
    EXPECT_EQ(L"8/0", ServiceNamedObjectItem::Icmp(8, 0)->GetDetails());
    EXPECT_EQ(L"", ServiceNamedObjectItem(47).GetDetails());
    EXPECT_EQ(L"8:0-12:0-31", ScheduleNamedObjectItem::Weekly(8, 0, 12, 0, 31)->GetDetails());
    EXPECT_EQ(L"0:0-23:59", ScheduleNamedObjectItem().GetDetails());
    EXPECT_EQ(
        L"2024/1/2 8:5-2024/12/31 17:30",
        ScheduleNamedObjectItem::Calendar(2024, 1, 2, 8, 5, 2024, 12, 31, 17, 30)->GetDetails());
}

// One parameter answer.
struct ParamRow {
    std::string what;
    std::shared_ptr<INamedObjectElement> item;
    int id;
    std::wstring answer;
};

TEST(NamedObjectItemsTest, ParameterAnswers) {
    auto mask = IpAddressNamedObjectItem::FromAddressAndMask(L"10.0.0.0", L"255.0.0.0");
    auto range = IpAddressNamedObjectItem::FromRange(L"10.0.0.1", L"10.0.0.9");
    auto text = IpAddressNamedObjectItem::FromText(L"host");
    auto tcp = ServiceNamedObjectItem::WithPorts(6, 1, 2, 3, 4);
    auto icmp = ServiceNamedObjectItem::Icmp(8, 5);
    auto calendar = ScheduleNamedObjectItem::Calendar(2024, 1, 2, 8, 5, 2025, 12, 31, 17, 30);
    auto weekly = ScheduleNamedObjectItem::Weekly(8, 0, 12, 0, 96);
    auto daily = ScheduleNamedObjectItem::Daily(0, 0, 1, 0);
    const std::vector<ParamRow> rows = {
        {"mask 0", mask, 0, L"10.0.0.0/255.0.0.0"},
        {"mask 25", mask, 25, L"255.0.0.0"},
        {"mask 28", mask, 28, L"10.0.0.0"},
        {"range 26", range, 26, L"10.0.0.1"},
        {"range 27", range, 27, L"10.0.0.9"},
        {"text 29", text, 29, L"host"},
        {"interface 30", InterfaceNamedObjectItem::FromInterfaceName(L"eth1"), 30, L"eth1"},
        {"tcp 0", tcp, 0, L"6"},
        {"tcp 17", tcp, 17, L"6"},
        {"tcp 18", tcp, 18, L"6"},
        {"tcp 19", tcp, 19, L"1"},
        {"tcp 20", tcp, 20, L"2"},
        {"tcp 21", tcp, 21, L"3"},
        {"tcp 22", tcp, 22, L"4"},
        {"icmp 23 (code)", icmp, 23, L"5"},
        {"icmp 24 (type)", icmp, 24, L"8"},
        {"calendar 0", calendar, 0, L"Calendar"},
        {"calendar 1", calendar, 1, L"Calendar"},
        {"calendar 2", calendar, 2, L"2024/1/2"},
        {"calendar 3", calendar, 3, L"2025/12/31"},
        {"calendar 4", calendar, 4, L"8:5"},
        {"calendar 5", calendar, 5, L"17:30"},
        {"calendar 7", calendar, 7, L"8"},
        {"calendar 8", calendar, 8, L"17"},
        {"calendar 9", calendar, 9, L"5"},
        {"calendar 10", calendar, 10, L"30"},
        {"calendar 11", calendar, 11, L"2024"},
        {"calendar 12", calendar, 12, L"1"},
        {"calendar 13", calendar, 13, L"2"},
        {"calendar 14", calendar, 14, L"2025"},
        {"calendar 15", calendar, 15, L"12"},
        {"calendar 16", calendar, 16, L"31"},
        {"weekly 1", weekly, 1, L"Weekly"},
        {"weekly 6", weekly, 6, L"96"},
        {"daily 1", daily, 1, L"Daily"},
        {"node 33", SarvoNamedObjectItem::ForNode(4000000000u), 33, L"4000000000"},
        {"network 32", SarvoNamedObjectItem::ForNetwork(12), 32, L"12"},
        {"template 31", SarvoNamedObjectItem::FromTemplate(L"a*"), 31, L"a*"},
        {"template 0", SarvoNamedObjectItem::FromTemplate(L"a*"), 0, L"a*"},
    };
    for (const ParamRow& row : rows) {
        EXPECT_EQ(row.answer, row.item->GetParam(row.id)) << row.what;
    }
}

TEST(NamedObjectItemsTest, ScheduleKeepsHoursAndMinutesToSixteenBitsAndDaySetToOneByte) {
    auto weekly = ScheduleNamedObjectItem::Weekly(65536 + 8, 65536 + 5, 17, 30, 256 + 3);
    EXPECT_EQ(L"8:5", weekly->GetParam(4));
    EXPECT_EQ(L"3", weekly->GetParam(6));
}

// One refused parameter.
struct FailureRow {
    std::string what;
    std::shared_ptr<INamedObjectElement> item;
    int id;
    std::string failure;
};

TEST(NamedObjectItemsTest, ParametersOutsideTheSetAreLogicErrors) {
    const std::vector<FailureRow> rows = {
        {"address without mask", IpAddressNamedObjectItem::FromAddressAndMask(L"10.0.0.1", L""), 25,
         "logic_error: fwcommon::IpAddressNamedObjectItem::GetParam.Invalid parameter name"},
        {"interface asked for address", InterfaceNamedObjectItem::FromInterfaceName(L"eth0"), 28,
         "logic_error: fwcommon::IpAddressNamedObjectItem::GetParam.Invalid parameter name"},
        {"protocol 47 asked for a port", std::make_shared<ServiceNamedObjectItem>(47), 19,
         "logic_error: fwcommon::ServiceNamedObjectItem::GetParam.Invalid parameter name"},
        {"icmp without code", ServiceNamedObjectItem::Icmp(3, kNo), 23,
         "logic_error: fwcommon::ServiceNamedObjectItem::GetParam.Invalid parameter name"},
        {"daily asked for day set", ScheduleNamedObjectItem::Daily(1, 2, 3, 4), 6,
         "logic_error: fwcommon::ScheduleNamedObjectItem::GetParam.Invalid parameter name"},
        {"node asked for network", SarvoNamedObjectItem::ForNode(3), 32,
         "logic_error: fwcommon::SarvoNamedObjectItem::GetParam.Invalid parameter name"},
    };
    for (const FailureRow& row : rows) {
        EXPECT_EQ(row.failure, ParamFailure(*row.item, row.id)) << row.what;
    }
}

TEST(NamedObjectItemsTest, IdInTheSetThatTheClassCannotAnswerIsRuntimeError) {
    // An IP-address item that took an interface item's fields holds 30 in
    // its set, which only interface items answer.
    IpAddressNamedObjectItem copy;
    copy.Assign(InterfaceNamedObjectItem::FromInterfaceName(L"eth0").get());
    EXPECT_EQ((std::set<int>{0, 30}), copy.GetParamIds());
    EXPECT_EQ(
        "runtime_error: Application function: InterfaceNamedObjectItem::GetParam. Details: "
        "Incorrect parameter type.",
        ParamFailure(copy, 30));
    EXPECT_EQ(L"eth0", copy.GetParam(0));
}

TEST(NamedObjectItemsTest, ItemIdentifiersComeFromOneCounterForAllClasses) {
    auto first = IpAddressNamedObjectItem::FromAddress(L"10.0.0.1");
    auto second = std::make_shared<ServiceNamedObjectItem>(6);
    auto third = SarvoNamedObjectItem::ForNode(1);
    EXPECT_GE(first->GetIdentifier(), 1u);
    EXPECT_EQ(first->GetIdentifier() + 1, second->GetIdentifier());
    EXPECT_EQ(second->GetIdentifier() + 1, third->GetIdentifier());
}

TEST(NamedObjectItemsTest, ElementTypes) {
    EXPECT_EQ(eInterfaceObject, IpAddressNamedObjectItem().GetElementType());
    EXPECT_EQ(eInterfaceObject, InterfaceNamedObjectItem().GetElementType());
    EXPECT_EQ(eServiceObject, ServiceNamedObjectItem().GetElementType());
    EXPECT_EQ(eScheduleObject, ScheduleNamedObjectItem().GetElementType());
    EXPECT_EQ(eSarvoGroupObject, SarvoNamedObjectItem().GetElementType());
}

// Two items and whether they are equal.
struct EqualityRow {
    std::string what;
    std::shared_ptr<INamedObjectElement> a;
    std::shared_ptr<INamedObjectElement> b;
    bool equal;
};

TEST(NamedObjectItemsTest, Equality) {
    auto ifItem = InterfaceNamedObjectItem::FromInterfaceName(L"eth0");
    auto ipFromInterface = std::make_shared<IpAddressNamedObjectItem>();
    ipFromInterface->Assign(ifItem.get());
    const std::vector<EqualityRow> rows = {
        {"empty mask and single address",
         IpAddressNamedObjectItem::FromAddressAndMask(L"10.0.0.1", L""),
         IpAddressNamedObjectItem::FromAddress(L"10.0.0.1"), true},
        {"address and range", IpAddressNamedObjectItem::FromAddress(L"10.0.0.1"),
         IpAddressNamedObjectItem::FromRange(L"10.0.0.1", L"10.0.0.1"), false},
        {"address and free text of the same text", IpAddressNamedObjectItem::FromAddress(L"a"),
         IpAddressNamedObjectItem::FromText(L"a"), false},
        {"different masks", IpAddressNamedObjectItem::FromAddressAndMask(L"10.0.0.0", L"8"),
         IpAddressNamedObjectItem::FromAddressAndMask(L"10.0.0.0", L"16"), false},
        {"interface item and IP item of its fields", ifItem, ipFromInterface, true},
        {"IP item of interface fields and interface item", ipFromInterface, ifItem, true},
        {"interfaces of different names", ifItem,
         InterfaceNamedObjectItem::FromInterfaceName(L"eth1"), false},
        {"same tcp", ServiceNamedObjectItem::WithPorts(6, kNo, kNo, 80, 80),
         ServiceNamedObjectItem::WithPorts(6, kNo, kNo, 80, 80), true},
        {"tcp and udp", ServiceNamedObjectItem::WithPorts(6, kNo, kNo, 80, 80),
         ServiceNamedObjectItem::WithPorts(17, kNo, kNo, 80, 80), false},
        {"different icmp codes", ServiceNamedObjectItem::Icmp(8, 0),
         ServiceNamedObjectItem::Icmp(8, 1), false},
        {"new schedule and daily 0:0-23:59", std::make_shared<ScheduleNamedObjectItem>(),
         ScheduleNamedObjectItem::Daily(0, 0, 23, 59), false},
        {"same daily", ScheduleNamedObjectItem::Daily(8, 0, 9, 0),
         ScheduleNamedObjectItem::Daily(8, 0, 9, 0), true},
        {"different day sets", ScheduleNamedObjectItem::Weekly(8, 0, 9, 0, 1),
         ScheduleNamedObjectItem::Weekly(8, 0, 9, 0, 2), false},
        {"same node", SarvoNamedObjectItem::ForNode(5), SarvoNamedObjectItem::ForNode(5), true},
        {"node and network of one number", SarvoNamedObjectItem::ForNode(5),
         SarvoNamedObjectItem::ForNetwork(5), false},
        {"ip and service", IpAddressNamedObjectItem::FromText(L"6"),
         std::make_shared<ServiceNamedObjectItem>(6), false},
    };
    for (const EqualityRow& row : rows) {
        EXPECT_EQ(row.equal, row.a->IsEqual(row.b)) << row.what;
    }
    EXPECT_TRUE(ifItem->IsEqual(ifItem));
}

TEST(NamedObjectItemsTest, AssignCopiesFieldsOfTheSameClassAndKeepsTheIdentifier) {
    auto target = ServiceNamedObjectItem::WithPorts(6, kNo, kNo, 80, 80);
    const std::uint32_t identifier = target->GetIdentifier();
    auto source = ServiceNamedObjectItem::Icmp(8, 0);

    target->Assign(source.get());
    EXPECT_EQ(L"1 8/0", target->GetName());
    EXPECT_EQ(L"1", target->GetText());
    EXPECT_EQ(source->GetParamIds(), target->GetParamIds());
    EXPECT_EQ(identifier, target->GetIdentifier());
    EXPECT_TRUE(target->IsEqual(source));

    target->Assign(SarvoNamedObjectItem::ForNode(3).get());
    target->Assign(nullptr);
    EXPECT_EQ(L"1 8/0", target->GetName());
}

TEST(NamedObjectItemsTest, InterfaceItemTakingAnIpItemLosesItsInterfaceName) {
    auto target = InterfaceNamedObjectItem::FromInterfaceName(L"eth0");
    target->Assign(IpAddressNamedObjectItem::FromAddress(L"10.0.0.1").get());
    EXPECT_EQ(L"10.0.0.1", target->GetName());
    EXPECT_EQ(L"", target->GetParam(30));
}

TEST(SystemObjectTest, NameIdentifierKindAndParameters) {
    SystemObject internet(eInternetIP);
    EXPECT_EQ(L"InternetIP", internet.GetName());
    EXPECT_EQ(0u, internet.GetIdentifier());
    EXPECT_EQ(eSystemObjectItem, internet.GetItemKind());
    EXPECT_EQ(L"InternetIP", internet.GetParam(7));
    EXPECT_EQ(L"InternetIP", internet.GetParam(0));
    EXPECT_TRUE(internet.GetParamIds().empty());
    EXPECT_EQ(eInternetIP, internet.GetSystemType());
    EXPECT_EQ(&internet.GetIdentifier(), &SystemObject(eBroadCast).GetIdentifier());
}

TEST(SystemObjectTest, EqualOnlyToSystemObjectsOfTheSameType) {
    auto coordinators = std::make_shared<SystemObject>(eAllCoordinators);
    EXPECT_TRUE(coordinators->IsEqual(std::make_shared<SystemObject>(eAllCoordinators)));
    EXPECT_FALSE(coordinators->IsEqual(std::make_shared<SystemObject>(eAllClients)));
    EXPECT_FALSE(coordinators->IsEqual(IpAddressNamedObjectItem::FromText(L"AllCoordinators")));
    EXPECT_FALSE(coordinators->IsEqual(nullptr));
}

TEST(SystemObjectTest, TypeOutsideTheTableIsRefused) {
    EXPECT_THROW(SystemObject(static_cast<SystemObjectTypes>(15)), std::out_of_range);
}

}  // namespace
}  // namespace fwcommon
