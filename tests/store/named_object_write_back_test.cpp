// Writing named objects back into their elements: a document read and
// written back unchanged is the same document, and an edit changes only
// what it touches.

#include <gtest/gtest.h>

#include <fwcommon/IServiceNamedObject.h>
#include <fwcommon/IipAddressNamedObject.h>
#include "store/StoreTestSupport.h"

namespace fwcommon::test {
namespace {

const std::string kLocalHost =
    "<Inclusion xsi:type=\"sv:IpSystemObjectRef\"><Name>LocalHost</Name></Inclusion>";

std::vector<unsigned char> Bytes(XmlReader& reader) {
    std::vector<unsigned char> bytes;
    reader.GetXmlData(bytes);
    return bytes;
}

struct UnchangedCase {
    const char* what;
    std::string namedObjects;
};

void PrintTo(const UnchangedCase& row, std::ostream* os) {
    *os << row.what;
}

class UnchangedWriteBack : public ::testing::TestWithParam<UnchangedCase> {};

// Every object is announced as changed without being changed: each is
// written back into its element, and the document must not move by a byte.
TEST_P(UnchangedWriteBack, LeavesTheDocumentAsItWas) {
    auto reader = MakeReader(PolicyXml("", GetParam().namedObjects));
    const auto before = Bytes(*reader);
    for (const auto& object : reader->GetNamedObjects()) {
        object->NotifyChanged();
        reader->UpdateNamedObject(object);
    }
    const auto after = Bytes(*reader);
    EXPECT_EQ(std::string(before.begin(), before.end()), std::string(after.begin(), after.end()))
        << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    NamedObjects, UnchangedWriteBack,
    ::testing::Values(
        UnchangedCase{
            "a reference before a system object",
            IpObject("Lan", 1, Address("10.0.0.1")) + IpObject("Office", 2, IpRef(1) + kLocalHost)},
        UnchangedCase{"a reference to an object written later",
                      IpObject("Top", 3, Address("10.0.0.3") + IpRef(1, "Exclusion")) +
                          IpObject("Base", 1, Address("10.0.0.1"))},
        UnchangedCase{"a reference to an object not in the document",
                      IpObject("Lan", 1, Address("10.0.0.1") + IpRef(99) + kLocalHost)},
        UnchangedCase{"the same reference twice",
                      IpObject("Base", 1, Address("10.0.0.1")) +
                          IpObject("Twice", 2, IpRef(1) + Address("10.0.0.2") + IpRef(1))},
        UnchangedCase{"two objects that include each other",
                      IpObject("A", 1, IpRef(2) + Address("10.0.0.1")) +
                          IpObject("B", 2, IpRef(1) + Address("10.0.0.2"))},
        UnchangedCase{
            "the same address twice and a bare base member",
            IpObject("Lan", 1,
                     Address("10.0.0.1") + "<Inclusion xsi:type=\"sv:IpHostCondition\"/>" +
                         Address("10.0.0.1") + Address("10.0.0.2"))},
        UnchangedCase{"protocols 6 and 17 without ports, and a member attribute",
                      ServiceObject("Transport", 4,
                                    "<Inclusion xsi:type=\"sv:ProtocolCondition\" "
                                    "Reserved=\"x\"><Protocol>6</Protocol></Inclusion>"
                                    "<Inclusion xsi:type=\"sv:ProtocolCondition\">"
                                    "<Protocol>17</Protocol></Inclusion>")},
        UnchangedCase{"schedule times with seconds and zones, a plain Schedule",
                      ScheduleObject("Hours", 7,
                                     "<Inclusion xsi:type=\"sv:Daily\">"
                                     "<StartTime>08:00:30+02:00</StartTime>"
                                     "<EndTime>17:59:59.5Z</EndTime></Inclusion>"
                                     "<Inclusion xsi:type=\"sv:Schedule\">"
                                     "<StartTime>01:00:00</StartTime>"
                                     "<EndTime>02:00:00</EndTime></Inclusion>")},
        UnchangedCase{"a service object and an IP object sharing an identity",
                      ServiceObject("Base", 1,
                                    "<Inclusion xsi:type=\"sv:ProtocolCondition\">"
                                    "<Protocol>47</Protocol></Inclusion>") +
                          IpObject("Middle", 2, IpRef(1)) +
                          IpObject("Base", 1, Address("10.1.1.1"))},
        UnchangedCase{"two IP objects sharing an identity",
                      IpObject("First", 5, Address("10.0.0.5")) +
                          IpObject("Second", 5, Address("10.0.0.6"))}),
    [](const ::testing::TestParamInfo<UnchangedCase>& info) {
        return "Case" + std::to_string(info.index);
    });

TEST(NamedObjectWriteBack, ListsFollowTheDocumentOrder) {
    auto reader =
        MakeReader(PolicyXml("", IpObject("Top", 3, IpRef(1) + kLocalHost + Address("10.0.0.3")) +
                                     IpObject("Base", 1, Address("10.0.0.1"))));
    const auto top = reader->GetNamedObject(User, L"Top");
    ASSERT_NE(nullptr, top);
    const auto inclusions = top->GetInclusions();
    ASSERT_EQ(3u, inclusions->size());
    EXPECT_EQ(eNamedObjectItem, (*inclusions)[0]->GetItemKind());
    EXPECT_EQ(1u, (*inclusions)[0]->GetIdentifier());
    EXPECT_EQ(eSystemObjectItem, (*inclusions)[1]->GetItemKind());
    EXPECT_EQ(eElementItem, (*inclusions)[2]->GetItemKind());
}

TEST(NamedObjectWriteBack, ReferenceResolvesWithinItsOwnKind) {
    auto reader =
        MakeReader(PolicyXml("", ServiceObject("Base", 1, "") + IpObject("Middle", 2, IpRef(1)) +
                                     IpObject("Base", 1, Address("10.1.1.1"))));
    const auto middle = reader->GetNamedObject(User, L"Middle");
    ASSERT_NE(nullptr, middle);
    const auto inclusions = middle->GetInclusions();
    ASSERT_EQ(1u, inclusions->size());
    const auto* base = dynamic_cast<const INamedObject*>((*inclusions)[0].get());
    ASSERT_NE(nullptr, base);
    EXPECT_EQ(eIpAddressObject, base->GetNamedObjectType());
}

// A changed entry is written anew; its neighbours and the members kept
// around it stay where they were.
TEST(NamedObjectWriteBack, EditRewritesOnlyTheChangedEntry) {
    auto reader =
        MakeReader(PolicyXml("", ServiceObject("Mixed", 4,
                                               "<Inclusion xsi:type=\"sv:ProtocolCondition\">"
                                               "<Protocol>6</Protocol></Inclusion>"
                                               "<Inclusion xsi:type=\"sv:ServiceCondition\"/>"
                                               "<Inclusion xsi:type=\"sv:ProtocolCondition\">"
                                               "<Protocol>47</Protocol></Inclusion>")));
    auto service =
        std::dynamic_pointer_cast<IServiceNamedObject>(reader->GetNamedObject(User, L"Mixed"));
    ASSERT_NE(nullptr, service);
    const auto entries = service->GetInclusions();
    ASSERT_EQ(2u, entries->size()) << "the bare ServiceCondition is no entry";
    auto gre = std::dynamic_pointer_cast<INamedObjectElement>((*entries)[1]);
    ASSERT_TRUE(
        service->UpdateElement(0, service->CreateProtocolElement(50), gre->GetIdentifier()));

    const auto written = Written(*reader);
    const auto& members = written->NamedObjects()->ServiceObject()[0].Inclusion();
    ASSERT_EQ(3u, members.size());
    EXPECT_EQ(typeid(Sarvo::ProtocolCondition), typeid(members[0])) << "kept as written";
    EXPECT_EQ(typeid(Sarvo::ServiceCondition), typeid(members[1]));
    const auto& esp = dynamic_cast<const Sarvo::ProtocolCondition&>(members[2]);
    EXPECT_EQ(50, esp.Protocol());
}

TEST(NamedObjectWriteBack, KeptMemberOfARemovedEntryMovesToTheEnd) {
    auto reader = MakeReader(
        PolicyXml("", IpObject("Lan", 1, Address("10.0.0.1") + IpRef(99) + Address("10.0.0.2"))));
    auto lan = reader->GetNamedObject(User, L"Lan");
    const auto first = (*lan->GetInclusions())[0];
    ASSERT_TRUE(lan->RemoveItem(0, first));

    const auto written = Written(*reader);
    const auto& members = written->NamedObjects()->IpObject()[0].Inclusion();
    ASSERT_EQ(2u, members.size());
    EXPECT_EQ(L"10.0.0.2", dynamic_cast<const Sarvo::IpAddress&>(members[0]).Value());
    EXPECT_EQ(99, dynamic_cast<const Sarvo::IpObjectRef&>(members[1]).Id());
}

TEST(NamedObjectWriteBack, ChangedEntryLosesWhatNoEntryHolds) {
    auto reader =
        MakeReader(PolicyXml("", ServiceObject("Transport", 4,
                                               "<Inclusion xsi:type=\"sv:ProtocolCondition\">"
                                               "<Protocol>6</Protocol></Inclusion>")));
    auto service =
        std::dynamic_pointer_cast<IServiceNamedObject>(reader->GetNamedObject(User, L"Transport"));
    auto tcp = std::dynamic_pointer_cast<INamedObjectElement>((*service->GetInclusions())[0]);
    tcp->Assign(service->CreateTcpElement(-1, -1, 22, -1).get());
    service->NotifyChanged();

    const auto written = Written(*reader);
    const auto& members = written->NamedObjects()->ServiceObject()[0].Inclusion();
    ASSERT_EQ(1u, members.size());
    const auto& ssh = dynamic_cast<const Sarvo::TcpCondition&>(members[0]);
    ASSERT_TRUE(ssh.DestinationPort().present());
    EXPECT_EQ(22, dynamic_cast<const Sarvo::Port&>(*ssh.DestinationPort()).Value());
}

TEST(NamedObjectWriteBack, UpdateOfOneKindLeavesTheOtherKindOfTheSameIdentity) {
    auto reader = MakeReader(
        PolicyXml("", ServiceObject("Base", 1, "") + IpObject("Base", 1, Address("10.1.1.1"))));
    for (const auto& object : reader->GetNamedObjectsByType(eServiceObject)) {
        reader->UpdateNamedObject(object);
    }
    const auto written = Written(*reader);
    ASSERT_EQ(1u, written->NamedObjects()->IpObject()[0].Inclusion().size());
    EXPECT_EQ(0u, written->NamedObjects()->ServiceObject()[0].Inclusion().size());
}

}  // namespace
}  // namespace fwcommon::test
