// Sample named objects built by XmlNamedObjectFactory.

#include <gtest/gtest.h>

#include <fwcommon/XmlNamedObjectFactory.h>

#include "common/Conditions.h"

namespace fwcommon::test {
namespace {

using F = XmlNamedObjectFactory;

// The fields every sample shares.
template <typename Object>
void ExpectSample(const Object& object, const std::wstring& name, int id) {
    EXPECT_EQ(object.Name(), name);
    EXPECT_EQ(object.Id(), id);
    EXPECT_EQ(object.CreationType(), Sarvo::CreationTypes::User);
    EXPECT_EQ(object.Inclusion().size(), 1u);
    EXPECT_TRUE(object.Exclusion().empty());
}

TEST(NamedObjectFactory, VpnObjectByDefault) {
    const auto object = F::CreateSimpleVpnObject();
    ExpectSample(*object, L"simple vpn object", 1);
    EXPECT_EQ(dynamic_cast<const Sarvo::VpnNodeId&>(object->Inclusion().at(0)).Value(), 2);
}

TEST(NamedObjectFactory, DefaultNamesAndMembers) {
    const auto interfaceObject = F::CreateSimpleInterfaceObject();
    ExpectSample(*interfaceObject, L"simple interface object", 1);
    EXPECT_EQ(
        dynamic_cast<const Sarvo::SimpleInterface&>(interfaceObject->Inclusion().at(0)).Value(),
        L"eth0");

    const auto ipObject = F::CreateSimpleIpObject();
    ExpectSample(*ipObject, L"simple ip object", 1);
    EXPECT_EQ(dynamic_cast<const Sarvo::IpAddress&>(ipObject->Inclusion().at(0)).Value(),
              L"127.0.0.1");

    const auto serviceObject = F::CreateSimpleServiceObject();
    ExpectSample(*serviceObject, L"simple service object", 1);
    EXPECT_EQ(
        dynamic_cast<const Sarvo::ProtocolCondition&>(serviceObject->Inclusion().at(0)).Protocol(),
        6);

    const auto scheduleObject = F::CreateSimpleScheduleObject();
    ExpectSample(*scheduleObject, L"simple schedule object", 1);
    const auto& daily = dynamic_cast<const Sarvo::Daily&>(scheduleObject->Inclusion().at(0));
    EXPECT_EQ(daily.StartTime(), Time(6, 0, 0));
    EXPECT_EQ(daily.EndTime(), Time(18, 0, 0));
    EXPECT_FALSE(daily.StartTime().zone_present());
    EXPECT_FALSE(daily.EndTime().zone_present());
}

TEST(NamedObjectFactory, GivenNamesAndIdentifiers) {
    ExpectSample(*F::CreateSimpleInterfaceObject(L"lan", 10), L"lan", 10);
    ExpectSample(*F::CreateSimpleIpObject(L"h\u00f4te", -1), L"h\u00f4te", -1);
    ExpectSample(*F::CreateSimpleVpnObject(L"hq", 12), L"hq", 12);
    ExpectSample(*F::CreateSimpleServiceObject(L"tcp", 13), L"tcp", 13);
    ExpectSample(*F::CreateSimpleScheduleObject(L"day", 14), L"day", 14);
}

}  // namespace
}  // namespace fwcommon::test
