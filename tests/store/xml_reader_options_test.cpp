// Options and properties of a document, and the reader factories.

#include <gtest/gtest.h>

#include <fwcommon/CreateNamedObject.h>
#include <fwcommon/INamedObject.h>
#include "common/Thrown.h"
#include "store/StoreTestSupport.h"

namespace fwcommon::test {
namespace {

const std::string kOptions =
    "<Option><Name>LogLevel</Name><Value>2</Value><CreationType>Policy</CreationType></Option>"
    "<Option><Name>LogLevel</Name><Value>4</Value><CreationType>User</CreationType></Option>";

std::wstring Value(XmlReader& reader, const std::wstring& name, CreationType type) {
    const boost::any value = reader.GetOptionValue(name, type);
    return value.empty() ? L"<absent>" : boost::any_cast<std::wstring>(value);
}

TEST(XmlReaderOptions, ReadByNameAndCreationType) {
    auto reader = MakeReader(PolicyXml("", "", kOptions));
    EXPECT_TRUE(reader->HasOption(L"LogLevel", User));
    EXPECT_FALSE(reader->HasOption(L"LogLevel", Post));
    EXPECT_EQ(L"2", Value(*reader, L"LogLevel", Policy));
    EXPECT_EQ(L"4", Value(*reader, L"LogLevel", User));
    EXPECT_EQ(L"<absent>", Value(*reader, L"Other", User));
}

TEST(XmlReaderOptions, NamesComeOncePerOptionHoweverOftenAsked) {
    const std::vector<std::wstring> oncePerOption{L"LogLevel", L"LogLevel"};
    auto fresh = MakeReader(PolicyXml("", "", kOptions));
    EXPECT_EQ(oncePerOption, fresh->GetOptionNames()) << "the first call builds the list";
    EXPECT_EQ(oncePerOption, fresh->GetOptionNames()) << "a second call added the names again";
    auto read = MakeReader(PolicyXml("", "", kOptions));
    EXPECT_EQ(L"4", Value(*read, L"LogLevel", User));
    EXPECT_EQ(oncePerOption, read->GetOptionNames()) << "after a read built the list";
    EXPECT_TRUE(MakeReader(PolicyXml("", "", ""))->GetOptionNames().empty());
}

TEST(XmlReaderOptions, SetReplacesTheOptionAndRollbackRestoresIt) {
    auto reader = MakeReader(PolicyXml("", "", kOptions));
    reader->SetOptionValue(L"LogLevel", boost::any(std::wstring(L"3")), User);
    reader->SetOptionValue(L"Mode", boost::any(std::wstring(L"strict")), Post);
    EXPECT_TRUE(reader->HasChanges());
    EXPECT_EQ(L"3", Value(*reader, L"LogLevel", User));
    EXPECT_EQ(L"2", Value(*reader, L"LogLevel", Policy));
    const auto written = Written(*reader);
    ASSERT_EQ(3u, written->Options()->Option().size());
    EXPECT_EQ(L"strict", written->Options()->Option()[2].Value());

    reader->RollbackChanges();
    EXPECT_EQ(L"4", Value(*reader, L"LogLevel", User));
    EXPECT_FALSE(reader->HasOption(L"Mode", Post));
}

TEST(XmlReaderOptions, ValueOfAnotherTypeIsRefusedAndChangesNothing) {
    auto reader = MakeReader({});
    EXPECT_EQ("boost::bad_any_cast: failed conversion using boost::any_cast",
              Thrown<boost::bad_any_cast>(
                  [&] { reader->SetOptionValue(L"LogLevel", boost::any(42), User); }));
    EXPECT_FALSE(reader->HasChanges());
    EXPECT_FALSE(Written(*reader)->Options().present());
}

TEST(XmlReaderProperties, ApplicationTimeAndPeriodAreWrittenInUtc) {
    auto reader = MakeReader({});
    reader->SetApplicationProperties(1767225600, 1800);  // 2026-01-01T00:00:00Z
    const auto written = Written(*reader);
    const auto& applied = *written->Properties().ApplicationDateTime();
    EXPECT_EQ(2026, applied.year());
    EXPECT_EQ(1, applied.month());
    EXPECT_EQ(0, applied.hours());
    EXPECT_EQ(0, applied.zone_hours());
    EXPECT_EQ(1800, written->Properties().RollbackPeriod());
}

TEST(XmlReaderFactory, ReferencesToObjectsOfAnotherDocumentAreResolved) {
    const std::string group =
        "<IpObject><Name>Group</Name><Id>77</Id><CreationType>User</CreationType>"
        "<Inclusion xsi:type=\"sv:IpObjectRef\"><Id>5001</Id></Inclusion></IpObject>";
    auto shared = CreateNamedObject(5001, L"Shared hosts", L"", eIpAddressObject, User);
    auto list = std::make_shared<const NamedObjectList>(NamedObjectList{shared});
    auto reader = std::static_pointer_cast<XmlReader>(
        GetXmlReader(PolicyXml("", group), L"rules.xml", User, list));
    auto object = reader->GetNamedObject(User, L"Group");
    ASSERT_NE(nullptr, object);
    ASSERT_EQ(1u, object->GetInclusions()->size());
    EXPECT_EQ(5001u, (*object->GetInclusions())[0]->GetIdentifier());

    CapturedLog log;
    EXPECT_THROW(GetXmlReader(PolicyXml("", group), L"rules.xml", User,
                              std::make_shared<const NamedObjectList>()),
                 std::runtime_error);
    EXPECT_TRUE(log.Contains(L"object not found. id=5001"));
}

TEST(XmlReaderFactory, RuleReferencesAreResolvedAgainstTheListAndTheOwnObjects) {
    const std::string own =
        "<ServiceObject><Name>Own web</Name><Id>81</Id><CreationType>User</CreationType>"
        "</ServiceObject>";
    auto rule = [](int ipObject) {
        return RuleXml("LocalRule", 300001, 1, "uses objects", "User",
                       "<Source xsi:type=\"sv:PublicNetwork\"><IpHostCondition "
                       "xsi:type=\"sv:IpObjectRef\"><Id>" +
                           std::to_string(ipObject) +
                           "</Id></IpHostCondition></Source>"
                           "<ServiceCondition xsi:type=\"sv:ServiceObjectRef\"><Id>81</Id>"
                           "</ServiceCondition>");
    };
    auto shared = CreateNamedObject(5001, L"Shared hosts", L"", eIpAddressObject, User);
    auto list = std::make_shared<const NamedObjectList>(NamedObjectList{shared});
    EXPECT_NO_THROW(GetXmlReader(PolicyXml(rule(5001), own), L"rules.xml", User, list));

    CapturedLog log;
    const std::string refused = Thrown<std::runtime_error>(
        [&] { GetXmlReader(PolicyXml(rule(5002), own), L"rules.xml", User, list); });
    EXPECT_NE(std::string::npos, refused.find("object not found. id=5002")) << refused;
    ASSERT_EQ(1u, log.Lines().size());
    const std::wstring line = log.Lines()[0];
    EXPECT_EQ(L'#', line[0]) << "logged at level 4";
    EXPECT_NE(std::wstring::npos,
              line.find(L"fwcommon::XmlReader::ResolveNamedObjects:1object not found. id=5002\n"
                        L"All named objects:\n\t'Shared hosts', id = 5001\n"));
}

TEST(XmlReaderFactory, UnresolvedReferencesSurviveAWriteBack) {
    const std::string group =
        "<IpObject><Name>Group</Name><Id>78</Id><CreationType>User</CreationType>"
        "<Inclusion xsi:type=\"sv:IpObjectRef\"><Id>9999</Id></Inclusion></IpObject>";
    auto reader = MakeReader(PolicyXml("", group));
    auto object = reader->GetNamedObject(User, L"Group");
    object->SetDescription(L"changed");
    const auto written = Written(*reader);
    const auto& inclusions = written->NamedObjects()->IpObject()[0].Inclusion();
    ASSERT_EQ(1u, inclusions.size());
    EXPECT_EQ(9999, dynamic_cast<const Sarvo::IpObjectRef&>(inclusions[0]).Id());
}

}  // namespace
}  // namespace fwcommon::test
