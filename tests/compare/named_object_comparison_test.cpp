// Strict comparison of named objects of each kind.

#include <functional>

#include <gtest/gtest.h>

#include <fwcommon/XmlInterfaceObjectStrictComparator.h>
#include <fwcommon/XmlIpObjectStrictComparator.h>
#include <fwcommon/XmlNamedObjectFactory.h>
#include <fwcommon/XmlNamedObjectsStrictCompare.h>
#include <fwcommon/XmlScheduleObjectStrictComparator.h>
#include <fwcommon/XmlServiceObjectStrictComparator.h>
#include <fwcommon/XmlVpnObjectStrictComparator.h>

#include "common/Conditions.h"

namespace fwcommon::test {
namespace {

// Two sample objects, each edited as the row says, and the text their
// comparison must give (empty: equal).
template <typename Object>
struct ObjectRow {
    const char* name;
    std::function<void(Object&)> editFirst;
    std::function<void(Object&)> editSecond;
    std::wstring expected;
};

template <typename Object>
void Keep(Object&) {}

template <typename Comparator, typename Object>
void CheckObjectRows(std::shared_ptr<Object> (*makeSample)(),
                     const std::vector<ObjectRow<Object>>& rows) {
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto first = makeSample();
        auto second = makeSample();
        row.editFirst(*first);
        row.editSecond(*second);
        Comparator comparator(first, second);
        EXPECT_TRUE(comparator.GetMismatchDetails().empty());
        const bool equal = comparator.IsEqual();
        EXPECT_EQ(equal, row.expected.empty());
        EXPECT_EQ(comparator.GetMismatchDetails(), row.expected);
        EXPECT_EQ(XmlNamedObjectsStrictCompare(first, second), equal);
    }
}

void SetMembers(Sarvo::IpObject::Inclusion_sequence& members,
                std::initializer_list<std::shared_ptr<Sarvo::IpHostCondition>> conditions) {
    members.clear();
    for (const auto& condition : conditions) {
        members.push_back(*condition);
    }
}

TEST(NamedObjectComparison, IpObjects) {
    using Row = ObjectRow<Sarvo::IpObject>;
    auto keep = Keep<Sarvo::IpObject>;
    const std::vector<Row> rows = {
        {"samples", keep, keep, L""},
        {"creation type is ignored",
         [](Sarvo::IpObject& o) { o.CreationType(Sarvo::CreationTypes::Policy); }, keep, L""},
        {"reserved is ignored", keep, [](Sarvo::IpObject& o) { o.Reserved(L"x"); }, L""},
        {"ids", keep, [](Sarvo::IpObject& o) { o.Id(2); }, L"Id mismatch: '1', '2'."},
        {"id before name",
         [](Sarvo::IpObject& o) {
             o.Id(-3);
             o.Name(L"a");
         },
         keep, L"Id mismatch: '-3', '1'."},
        {"names", keep, [](Sarvo::IpObject& o) { o.Name(L"other"); },
         L"Names mismatch: 'simple ip object', 'other'."},
        {"inclusion sizes", keep,
         [](Sarvo::IpObject& o) { o.Inclusion().push_back(*Address(L"10.0.0.1")); },
         L"Inclusion sizes mismatch: '1', '2'."},
        {"inclusion members", keep,
         [](Sarvo::IpObject& o) { SetMembers(o.Inclusion(), {Address(L"127.0.0.2")}); },
         L"In Inclusion one of 'IpHostCondition' with type 'IpAddress' mismatch: '127.0.0.1', "
         L"'127.0.0.2'"},
        {"inclusion order",
         [](Sarvo::IpObject& o) {
             SetMembers(o.Inclusion(), {Address(L"10.0.0.1"), Range(L"10.0.0.5", L"10.0.0.9")});
         },
         [](Sarvo::IpObject& o) {
             SetMembers(o.Inclusion(), {Range(L"10.0.0.5", L"10.0.0.9"), Address(L"10.0.0.1")});
         },
         L"In Inclusion one of 'IpPrimitive' type mismatch"},
        {"exclusion sizes", keep,
         [](Sarvo::IpObject& o) { o.Exclusion().push_back(*Address(L"10.0.0.1")); },
         L"Exclusion sizes mismatch: '0', '1'."},
        {"exclusion longer first",
         [](Sarvo::IpObject& o) {
             SetMembers(o.Exclusion(), {Address(L"10.0.0.1"), Address(L"10.0.0.2")});
         },
         [](Sarvo::IpObject& o) { SetMembers(o.Exclusion(), {Address(L"10.0.0.1")}); },
         L"Exclusion sizes mismatch: '2', '1'."},
        {"exclusion members",
         [](Sarvo::IpObject& o) { SetMembers(o.Exclusion(), {Mask(L"10.0.0.0", L"255.0.0.0")}); },
         [](Sarvo::IpObject& o) { SetMembers(o.Exclusion(), {Mask(L"10.0.0.0", L"255.255.0.0")}); },
         L"In Exclusion  one of 'IpHostCondition' with type 'IpMask' mismatch: "
         L"'10.0.0.0/255.0.0.0', '10.0.0.0/255.255.0.0'"},
        {"inclusion before exclusion",
         [](Sarvo::IpObject& o) { o.Exclusion().push_back(*Address(L"10.0.0.1")); },
         [](Sarvo::IpObject& o) { SetMembers(o.Inclusion(), {Address(L"10.9.9.9")}); },
         L"In Inclusion one of 'IpHostCondition' with type 'IpAddress' mismatch: '127.0.0.1', "
         L"'10.9.9.9'"},
    };
    CheckObjectRows<XmlIpObjectStrictComparator>(&XmlNamedObjectFactory::CreateSimpleIpObject,
                                                 rows);
}

TEST(NamedObjectComparison, InterfaceObjects) {
    using Row = ObjectRow<Sarvo::InterfaceObject>;
    auto keep = Keep<Sarvo::InterfaceObject>;
    const std::vector<Row> rows = {
        {"samples", keep, keep, L""},
        {"inclusion members", keep,
         [](Sarvo::InterfaceObject& o) {
             o.Inclusion().clear();
             o.Inclusion().push_back(Sarvo::SimpleInterface(L"eth1"));
         },
         L"In Inclusion one of 'InterfaceCondition' with type SimpleInterface mismatch: 'eth0', "
         L"'eth1'"},
        {"exclusion members",
         [](Sarvo::InterfaceObject& o) { o.Exclusion().push_back(Sarvo::InterfaceObjectRef(4)); },
         [](Sarvo::InterfaceObject& o) { o.Exclusion().push_back(Sarvo::InterfaceObjectRef(5)); },
         L"In Exclusion one of 'InterfaceCondition' with type InterfaceObjectRef mismatch: '4', "
         L"'5'"},
    };
    CheckObjectRows<XmlInterfaceObjectStrictComparator>(
        &XmlNamedObjectFactory::CreateSimpleInterfaceObject, rows);
}

TEST(NamedObjectComparison, VpnObjects) {
    using Row = ObjectRow<Sarvo::VpnObject>;
    auto keep = Keep<Sarvo::VpnObject>;
    const std::vector<Row> rows = {
        {"samples", keep, keep, L""},
        {"names", [](Sarvo::VpnObject& o) { o.Name(L"hq"); }, keep,
         L"Names mismatch: 'hq', 'simple vpn object'."},
        {"inclusion members", keep,
         [](Sarvo::VpnObject& o) {
             o.Inclusion().clear();
             o.Inclusion().push_back(Sarvo::VpnNodeId(3));
         },
         L"In Inclusion one of 'VpnHostCondition' with type 'VpnNodeId' mismatch: '2', '3' "},
    };
    CheckObjectRows<XmlVpnObjectStrictComparator>(&XmlNamedObjectFactory::CreateSimpleVpnObject,
                                                  rows);
}

TEST(NamedObjectComparison, ServiceObjects) {
    using Row = ObjectRow<Sarvo::ServiceObject>;
    auto keep = Keep<Sarvo::ServiceObject>;
    const std::vector<Row> rows = {
        {"samples", keep, keep, L""},
        {"inclusion members", keep,
         [](Sarvo::ServiceObject& o) {
             o.Inclusion().clear();
             o.Inclusion().push_back(Sarvo::ProtocolCondition(17));
         },
         L"In 'Inclusion' protocols are different: '6', '17'"},
        {"system references are equal",
         [](Sarvo::ServiceObject& o) {
             o.Exclusion().push_back(Sarvo::ServiceSystemObjectRef(L"A"));
         },
         [](Sarvo::ServiceObject& o) {
             o.Exclusion().push_back(Sarvo::ServiceSystemObjectRef(L"B"));
         },
         L""},
    };
    CheckObjectRows<XmlServiceObjectStrictComparator>(
        &XmlNamedObjectFactory::CreateSimpleServiceObject, rows);
}

TEST(NamedObjectComparison, ScheduleObjects) {
    using Row = ObjectRow<Sarvo::ScheduleObject>;
    auto keep = Keep<Sarvo::ScheduleObject>;
    const std::vector<Row> rows = {
        {"samples", keep, keep, L""},
        {"inclusion members", keep,
         [](Sarvo::ScheduleObject& o) {
             o.Inclusion().clear();
             o.Inclusion().push_back(*DailyOf(Time(6, 0, 0), Time(18, 30, 0)));
         },
         L"In 'Inclusion' End time values are different: '18:00:00' and '18:30:00'."},
        {"references in the list",
         [](Sarvo::ScheduleObject& o) { o.Exclusion().push_back(Sarvo::ScheduleObjectRef(9)); },
         [](Sarvo::ScheduleObject& o) { o.Exclusion().push_back(Sarvo::ScheduleObjectRef(9)); },
         L"In 'Exclusion' Schedule has incorrect internal structure."},
    };
    CheckObjectRows<XmlScheduleObjectStrictComparator>(
        &XmlNamedObjectFactory::CreateSimpleScheduleObject, rows);
}

TEST(NamedObjectComparison, ANewComparisonClearsTheOldText) {
    auto first = XmlNamedObjectFactory::CreateSimpleIpObject();
    auto second = XmlNamedObjectFactory::CreateSimpleIpObject(L"simple ip object", 2);
    XmlIpObjectStrictComparator comparator(first, second);
    ASSERT_FALSE(comparator.IsEqual());
    second->Id(1);
    EXPECT_TRUE(comparator.IsEqual());
    EXPECT_EQ(comparator.GetMismatchDetails(), L"");
}

}  // namespace
}  // namespace fwcommon::test
