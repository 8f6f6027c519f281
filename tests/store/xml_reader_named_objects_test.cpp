// Named objects of a document: built from the elements, written back on
// change, and references taken out of rules when an object goes.

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include <gtest/gtest.h>

#include <fwcommon/INamedObject.h>
#include <fwcommon/IServiceNamedObject.h>
#include <fwcommon/IipAddressNamedObject.h>
#include "store/StoreTestSupport.h"

namespace fwcommon::test {
namespace {

// The parameters of a service item that hold its destination ports.
constexpr int kDestinationFrom = 21;
constexpr int kDestinationTo = 22;

std::shared_ptr<XmlReader> Example() {
    return MakeReader(ReadBytes(SourcePath("examples/policy.xml")), Policy);
}

std::wstring NameOf(const std::shared_ptr<INamedObject>& object) {
    const INamedObject& o = *object;
    return o.GetName();
}

TEST(XmlReaderNamedObjects, ListFollowsTheKindOrderAndEachObjectTheDocumentOrder) {
    auto reader = Example();
    const auto objects = reader->GetNamedObjects();
    ASSERT_EQ(12u, objects.size());
    EXPECT_EQ(L"Outside", NameOf(objects[0])) << "interface objects come first";
    EXPECT_EQ(L"Office LAN", NameOf(objects[2]));
    EXPECT_EQ(L"Office hours", NameOf(objects[8]));
    EXPECT_EQ(L"Head office", NameOf(objects[10]));

    auto munich = reader->GetNamedObject(User, L"Büro München");
    ASSERT_NE(nullptr, munich);
    const auto inclusions = munich->GetInclusions();
    ASSERT_EQ(2u, inclusions->size());
    EXPECT_EQ(eNamedObjectItem, (*inclusions)[0]->GetItemKind()) << "IpObjectRef 200101";
    EXPECT_EQ(200101u, (*inclusions)[0]->GetIdentifier());
    EXPECT_EQ(eSystemObjectItem, (*inclusions)[1]->GetItemKind());

    EXPECT_EQ(nullptr, reader->GetNamedObject(Post, L"Office LAN")) << "creation type differs";
    EXPECT_EQ(3u, reader->GetNamedObjectsByType(eServiceObject).size());
}

TEST(XmlReaderNamedObjects, UnchangedObjectsWriteBackTheSameDocument) {
    auto reader = Example();
    std::vector<unsigned char> before;
    reader->GetXmlData(before);
    for (const auto& object : reader->GetNamedObjects()) {
        object->NotifyChanged();
    }
    std::vector<unsigned char> after;
    reader->GetXmlData(after);
    auto a = ParsePolicyDocument(before);
    auto b = ParsePolicyDocument(after);
    const auto& ipA = a->NamedObjects()->IpObject();
    const auto& ipB = b->NamedObjects()->IpObject();
    ASSERT_EQ(ipA.size(), ipB.size());
    for (std::size_t i = 0; i < ipA.size(); ++i) {
        EXPECT_TRUE(ipA[i].Inclusion() == ipB[i].Inclusion()) << "IpObject " << i;
        EXPECT_TRUE(ipA[i].Exclusion() == ipB[i].Exclusion()) << "IpObject " << i;
    }
    EXPECT_TRUE(a->NamedObjects()->ServiceObject() == b->NamedObjects()->ServiceObject());
    EXPECT_TRUE(a->NamedObjects()->VpnObject() == b->NamedObjects()->VpnObject());
    EXPECT_TRUE(reader->HasChanges());
}

TEST(XmlReaderNamedObjects, ChangedObjectIsWrittenIntoItsElement) {
    auto reader = Example();
    auto lan = std::dynamic_pointer_cast<IipAddressNamedObject>(
        reader->GetNamedObject(Policy, L"Office LAN"));
    ASSERT_NE(nullptr, lan);
    lan->SetName(L"Office LAN (new)");
    lan->AddElement(0, lan->CreateRangeElement(L"10.1.1.1", L"10.1.1.9"));
    const auto written = Written(*reader);
    const auto& element = written->NamedObjects()->IpObject()[0];
    EXPECT_EQ(L"Office LAN (new)", element.Name());
    ASSERT_EQ(2u, element.Inclusion().size());
    const auto& range = dynamic_cast<const Sarvo::IpRange&>(element.Inclusion()[1]);
    EXPECT_EQ(L"10.1.1.9", range.End().Value());
    EXPECT_EQ(1u, element.Exclusion().size());
}

const Sarvo::PortRange& RangeOf(const xsd::cxx::tree::optional<Sarvo::PortPrimitive>& side) {
    if (!side.present()) {
        throw std::logic_error("no port");
    }
    return dynamic_cast<const Sarvo::PortRange&>(*side);
}

// A service whose member has port ranges on both sides: the store reads
// the ranges into the item, keeps them when the object is written back,
// and writes a new member's ranges too.
TEST(XmlReaderNamedObjects, WriteBackOfAServiceKeepsItsPortRanges) {
    auto reader = MakeReader(PolicyXml(
        "",
        "<ServiceObject><Name>Web</Name><Id>81</Id><CreationType>Policy</CreationType>"
        "<Inclusion xsi:type=\"sv:UdpCondition\"><SourcePort xsi:type=\"sv:PortRange\">"
        "<Begin><Value>1024</Value></Begin><End><Value>2047</Value></End></SourcePort>"
        "<DestinationPort xsi:type=\"sv:PortRange\"><Begin><Value>8080</Value></Begin>"
        "<End><Value>8090</Value></End></DestinationPort><Protocol>17</Protocol></Inclusion>"
        "</ServiceObject>"));
    const auto web =
        std::dynamic_pointer_cast<IServiceNamedObject>(reader->GetNamedObject(Policy, L"Web"));
    ASSERT_NE(nullptr, web);
    const auto read = web->GetInclusions()->at(0);
    EXPECT_EQ(L"8080", read->GetParam(kDestinationFrom));
    EXPECT_EQ(L"8090", read->GetParam(kDestinationTo));

    web->SetName(L"Web (new)");
    ASSERT_TRUE(web->AddElement(0, web->CreateTcpElement(5000, 5009, 9000, 9100)));
    const auto written = Written(*reader);
    const auto& element = written->NamedObjects()->ServiceObject().at(0);
    EXPECT_EQ(L"Web (new)", element.Name());
    ASSERT_EQ(2u, element.Inclusion().size());
    const auto& kept = dynamic_cast<const Sarvo::UdpCondition&>(element.Inclusion()[0]);
    EXPECT_EQ(1024, RangeOf(kept.SourcePort()).Begin().Value());
    EXPECT_EQ(2047, RangeOf(kept.SourcePort()).End().Value());
    EXPECT_EQ(8080, RangeOf(kept.DestinationPort()).Begin().Value());
    EXPECT_EQ(8090, RangeOf(kept.DestinationPort()).End().Value());
    const auto& added = dynamic_cast<const Sarvo::TcpCondition&>(element.Inclusion()[1]);
    EXPECT_EQ(5009, RangeOf(added.SourcePort()).End().Value());
    EXPECT_EQ(9000, RangeOf(added.DestinationPort()).Begin().Value());
    EXPECT_EQ(9100, RangeOf(added.DestinationPort()).End().Value());
}

TEST(XmlReaderNamedObjects, AddedObjectCreatesTheCollectionAndRollbackDropsIt) {
    auto reader = MakeReader({});
    auto object = reader->CreateNamedObject(User, L"Printers", L"", eIpAddressObject);
    auto ip = std::dynamic_pointer_cast<IipAddressNamedObject>(object);
    ip->AddElement(0, ip->CreateAddressElement(L"192.0.2.7"));
    const auto written = Written(*reader);
    ASSERT_TRUE(written->NamedObjects().present());
    ASSERT_EQ(1u, written->NamedObjects()->IpObject().size());
    EXPECT_EQ(L"Printers", written->NamedObjects()->IpObject()[0].Name());
    EXPECT_EQ(1u, written->NamedObjects()->IpObject()[0].Inclusion().size());

    reader->RollbackChanges();
    EXPECT_TRUE(reader->GetNamedObjects().empty());
    EXPECT_FALSE(Written(*reader)->NamedObjects().present());
}

TEST(XmlReaderNamedObjects, RemovedByNameLeavesTheDocumentAndReturnsOnRollback) {
    auto reader = Example();
    EXPECT_TRUE(reader->RemoveNamedObjectByName(Policy, L"Web"));
    EXPECT_FALSE(reader->RemoveNamedObjectByName(Policy, L"Web"));
    EXPECT_EQ(2u, Written(*reader)->NamedObjects()->ServiceObject().size());
    reader->RollbackChanges();
    EXPECT_NE(nullptr, reader->GetNamedObject(Policy, L"Web"));
    EXPECT_EQ(3u, Written(*reader)->NamedObjects()->ServiceObject().size());
}

// Names are not unique across kinds: the example's service "Web" stays
// when a new IP object "Web" goes by its identifier.
TEST(XmlReaderNamedObjects, RemovedByIdentifierIsThatObjectWhateverItsName) {
    auto reader = Example();
    const auto service = reader->GetNamedObject(Policy, L"Web");
    ASSERT_NE(nullptr, service);
    ASSERT_EQ(eServiceObject, service->GetNamedObjectType());
    const auto ip = reader->CreateNamedObject(Policy, L"Web", L"", eIpAddressObject);
    reader->RemoveNamedObjectById({ip->GetIdentifier(), Policy});

    const auto objects = reader->GetNamedObjects();
    EXPECT_NE(objects.end(), std::find(objects.begin(), objects.end(), service));
    EXPECT_EQ(objects.end(), std::find(objects.begin(), objects.end(), ip));
    const auto written = Written(*reader);
    EXPECT_EQ(3u, written->NamedObjects()->ServiceObject().size());
    for (const auto& element : written->NamedObjects()->IpObject()) {
        EXPECT_NE(static_cast<int>(ip->GetIdentifier()), element.Id());
    }
}

struct ReferenceCase {
    const char* object;
    CreationType creationType;
    std::vector<std::int32_t> locations;
};

class RulesForNamedObject : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(RulesForNamedObject, ReportsEachRuleOnceAndRemovesTheReference) {
    const ReferenceCase& row = GetParam();
    auto reader = Example();
    const std::wstring name(row.object, row.object + std::strlen(row.object));
    auto object = reader->GetNamedObject(row.creationType, name);
    ASSERT_NE(nullptr, object) << row.object;

    std::vector<RuleInfo> found;
    reader->UpdateRulesForNamedObject(object, found, false);
    std::vector<std::int32_t> locations;
    for (const auto& info : found)
        locations.push_back(info.location);
    EXPECT_EQ(row.locations, locations) << row.object;
    EXPECT_FALSE(reader->HasChanges());

    std::vector<RuleInfo> removed;
    reader->UpdateRulesForNamedObject(object, removed, true);
    EXPECT_EQ(found.size(), removed.size());
    std::vector<RuleInfo> again;
    reader->UpdateRulesForNamedObject(object, again, false);
    EXPECT_TRUE(again.empty()) << "references are gone";
    EXPECT_TRUE(reader->HasChanges());
    EXPECT_NO_THROW(reader->GetRules(eLocalRules)) << "reads still work while pending";
    std::vector<unsigned char> bytes;
    EXPECT_NO_THROW(reader->GetXmlData(bytes));

    reader->RollbackChanges();
    std::vector<RuleInfo> restored;
    reader->UpdateRulesForNamedObject(object, restored, false);
    EXPECT_EQ(found.size(), restored.size());
}

INSTANTIATE_TEST_SUITE_P(ExampleObjects, RulesForNamedObject,
                         ::testing::Values(ReferenceCase{"Office LAN", Policy, {1, 2, 1, 1, 1}},
                                           ReferenceCase{"Inside", Policy, {1}},
                                           ReferenceCase{"Outside", Policy, {2}},
                                           ReferenceCase{"Head office", Policy, {1, 2}},
                                           ReferenceCase{"Web", Policy, {3}},
                                           ReferenceCase{"Office hours", Policy, {4}}));

TEST(XmlReaderNamedObjects, RecordsCarryTheRuleNameSectionAndCreationType) {
    auto reader = Example();
    std::vector<RuleInfo> found;
    reader->UpdateRulesForNamedObject(reader->GetNamedObject(Policy, L"Web"), found, false);
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ(L"LAN to the Internet", found[0].ruleName);
    EXPECT_EQ(L"eTransitRules", found[0].section);
    EXPECT_EQ(Policy, found[0].creationType);
}

// A member equal to one read before it, in either list, is read once; one
// that differs in any field is kept. A reference is read once a list, and
// never to the object itself. Objects of many members are read by
// hash, which must not merge members that differ nor keep members that
// are equal.
TEST(XmlReaderNamedObjects, AMemberEqualToAnEarlierOneIsReadOnce) {
    const auto mask = [](const std::string& net, const std::string& bits) {
        return "<Inclusion xsi:type=\"sv:IpMask\"><Net><Value>" + net +
               "</Value></Net><Mask><Value>" + bits + "</Value></Mask></Inclusion>";
    };
    const auto tcp = [](const std::string& source, const std::string& destination) {
        const std::string from = source.empty() ? ""
                                                : "<SourcePort xsi:type=\"sv:Port\"><Value>" +
                                                      source + "</Value></SourcePort>";
        return "<Inclusion xsi:type=\"sv:TcpCondition\">" + from +
               "<DestinationPort xsi:type=\"sv:Port\"><Value>" + destination +
               "</Value></DestinationPort><Protocol>6</Protocol></Inclusion>";
    };
    const auto daily = [](const std::string& start, const std::string& end) {
        return "<Inclusion xsi:type=\"sv:Daily\"><StartTime>" + start + "</StartTime><EndTime>" +
               end + "</EndTime></Inclusion>";
    };
    // In the schema's order of kinds: schedules, services, IP objects.
    const std::string objects =
        ScheduleObject("Night", 300003,
                       daily("01:00:00", "04:00:00") + daily("01:00:00", "04:00:00") +
                           daily("01:00:00", "05:00:00")) +
        ServiceObject("Web", 300002,
                      tcp("", "80") + tcp("", "80") + tcp("1024", "80") + tcp("", "81")) +
        IpObject("Hosts", 300001,
                 Address("10.0.0.1") + Address("10.0.0.1") + mask("10.0.0.0", "255.0.0.0") +
                     mask("10.0.0.0", "255.255.0.0") + mask("10.0.0.0", "255.0.0.0") +
                     Address("10.0.0.1", "Exclusion") + Address("10.0.0.2", "Exclusion") +
                     Address("10.0.0.2", "Exclusion")) +
        IpObject("Group", 300004,
                 IpRef(300001) + IpRef(300001) + IpRef(300004) + IpRef(300001, "Exclusion") +
                     IpRef(300001, "Exclusion"));
    auto reader = MakeReader(PolicyXml("", objects));
    const struct {
        const wchar_t* name;
        std::size_t inclusions;
        std::size_t exclusions;
    } expected[] = {{L"Hosts", 3, 1}, {L"Web", 3, 0}, {L"Night", 2, 0}, {L"Group", 1, 1}};
    for (const auto& e : expected) {
        const auto object = reader->GetNamedObject(User, e.name);
        ASSERT_NE(nullptr, object) << e.name;
        EXPECT_EQ(e.inclusions, object->GetInclusions()->size()) << e.name;
        EXPECT_EQ(e.exclusions, object->GetExclusions()->size()) << e.name;
    }
}

}  // namespace
}  // namespace fwcommon::test
