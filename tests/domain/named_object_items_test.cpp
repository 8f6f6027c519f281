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
    std::string ids;  // " " between
};

TEST(NamedObjectItemsTest, NamesTextsAndParameterIds) {
    const std::vector<TextRow> rows = {
        {"free text", IpAddressNamedObjectItem::FromText(L"www.example.com"), L"www.example.com",
         L"www.example.com", "0 29"},
        {"address", IpAddressNamedObjectItem::FromAddress(L"10.0.0.1"), L"10.0.0.1", L"10.0.0.1",
         "0 28"},
        {"address with mask",
         IpAddressNamedObjectItem::FromAddressAndMask(L"10.0.0.0", L"255.0.0.0"),
         L"10.0.0.0/255.0.0.0", L"10.0.0.0/255.0.0.0", "0 25 28"},
        {"address, empty mask", IpAddressNamedObjectItem::FromAddressAndMask(L"10.0.0.1", L""),
         L"10.0.0.1", L"10.0.0.1", "0 28"},
        {"range", IpAddressNamedObjectItem::FromRange(L"10.0.0.1", L"10.0.0.9"),
         L"10.0.0.1-10.0.0.9", L"10.0.0.1-10.0.0.9", "0 26 27"},
        {"interface", InterfaceNamedObjectItem::FromInterfaceName(L"eth0"), L"eth0", L"eth0",
         "0 30"},
        {"tcp to port 80", ServiceNamedObjectItem::WithPorts(6, kNo, kNo, 80, 80), L"6 */80-80",
         L"6", "0 17 18 21 22"},
        {"udp from 53", ServiceNamedObjectItem::WithPorts(17, 53, kNo, 1024, 65535),
         L"17 53/1024-65535", L"17", "0 17 18 19 21 22"},
        {"icmp", ServiceNamedObjectItem::Icmp(8, 0), L"1 8/0", L"1", "0 17 18 23 24"},
        {"icmp without code", ServiceNamedObjectItem::Icmp(3, kNo), L"1 3/-1", L"1", "0 17 18 24"},
        {"gre", std::make_shared<ServiceNamedObjectItem>(47), L"47", L"47", "0 17 18"},
        {"new schedule", std::make_shared<ScheduleNamedObjectItem>(), L"Daily 0:0-23:59", L"Daily",
         "0 1 7 8 9 10"},
        {"daily", ScheduleNamedObjectItem::Daily(8, 5, 17, 30), L"Daily 8:5-17:30", L"Daily",
         "0 1 4 5 7 8 9 10"},
        {"weekly", ScheduleNamedObjectItem::Weekly(8, 0, 12, 0, 31), L"Weekly 8:0-12:0-31",
         L"Weekly", "0 1 4 5 6 7 8 9 10"},
        {"calendar", ScheduleNamedObjectItem::Calendar(2024, 1, 2, 8, 5, 2024, 12, 31, 17, 30),
         L"Calendar 2024/1/2 8:5-2024/12/31 17:30", L"Calendar",
         "0 1 2 3 4 5 7 8 9 10 11 12 13 14 15 16"},
        {"vpn node", SarvoNamedObjectItem::ForNode(7), L"ID 7", L"7", "0 33"},
        {"vpn node 0", SarvoNamedObjectItem::ForNode(0), L"NET 0", L"0", "0 33"},
        {"vpn network", SarvoNamedObjectItem::ForNetwork(12), L"NET 12", L"12", "0 32"},
        {"vpn template", SarvoNamedObjectItem::FromTemplate(L"branch*"), L"MASK branch*",
         L"branch*", "0 31"},
    };
    for (const TextRow& row : rows) {
        EXPECT_EQ(row.name, row.item->GetName()) << row.what;
        EXPECT_EQ(row.text, row.item->GetText()) << row.what;
        std::string ids;
        for (const int id : row.item->GetParamIds()) {
            ids += (ids.empty() ? "" : " ") + std::to_string(id);
        }
        EXPECT_EQ(row.ids, ids) << row.what;
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

// The answers of one item, "id=answer" with "; " between.
struct ParamRow {
    std::string what;
    std::shared_ptr<INamedObjectElement> item;
    std::wstring answers;
};

TEST(NamedObjectItemsTest, ParameterAnswers) {
    const std::vector<ParamRow> rows = {
        {"mask", IpAddressNamedObjectItem::FromAddressAndMask(L"10.0.0.0", L"255.0.0.0"),
         L"0=10.0.0.0/255.0.0.0; 25=255.0.0.0; 28=10.0.0.0"},
        {"range", IpAddressNamedObjectItem::FromRange(L"10.0.0.1", L"10.0.0.9"),
         L"26=10.0.0.1; 27=10.0.0.9"},
        {"text", IpAddressNamedObjectItem::FromText(L"host"), L"29=host"},
        {"interface", InterfaceNamedObjectItem::FromInterfaceName(L"eth1"), L"30=eth1"},
        {"tcp", ServiceNamedObjectItem::WithPorts(6, 1, 2, 3, 4),
         L"0=6; 17=6; 18=6; 19=1; 20=2; 21=3; 22=4"},
        {"icmp", ServiceNamedObjectItem::Icmp(8, 5), L"23=5; 24=8"},
        {"calendar", ScheduleNamedObjectItem::Calendar(2024, 1, 2, 8, 5, 2025, 12, 31, 17, 30),
         L"0=Calendar; 1=Calendar; 2=2024/1/2; 3=2025/12/31; 4=8:5; 5=17:30; 7=8; 8=17; 9=5; "
         L"10=30; 11=2024; 12=1; 13=2; 14=2025; 15=12; 16=31"},
        {"weekly", ScheduleNamedObjectItem::Weekly(8, 0, 12, 0, 96), L"1=Weekly; 6=96"},
        {"daily", ScheduleNamedObjectItem::Daily(0, 0, 1, 0), L"1=Daily"},
        {"node", SarvoNamedObjectItem::ForNode(4000000000u), L"33=4000000000"},
        {"network", SarvoNamedObjectItem::ForNetwork(12), L"32=12"},
        {"template", SarvoNamedObjectItem::FromTemplate(L"a*"), L"31=a*; 0=a*"},
    };
    for (const ParamRow& row : rows) {
        std::wstring answers;
        for (std::size_t at = 0; at < row.answers.size();) {
            const int id = std::stoi(row.answers.substr(at));
            answers +=
                (at == 0 ? L"" : L"; ") + std::to_wstring(id) + L"=" + row.item->GetParam(id);
            const std::size_t next = row.answers.find(L"; ", at);
            at = next == std::wstring::npos ? row.answers.size() : next + 2;
        }
        EXPECT_EQ(row.answers, answers) << row.what;
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
