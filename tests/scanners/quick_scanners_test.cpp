#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fwcommon/LogFacility.h>
#include <fwcommon/MemoryLogSink.h>
#include <fwcommon/QuickScanners.h>

#include "common/PolicyText.h"
#include "common/StartLine.h"
#include "common/TestFiles.h"

namespace fwcommon {
namespace {

using test::ToBytes;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::string kSchemaLocation =
    "xsi:schemaLocation=\"" + test::PolicyNamespace() + " rules.xsd\"";
// The start of a document, for texts that are no whole document.
const std::string kOpen =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<sv:Policy xmlns:sv=\"" + test::PolicyNamespace() +
    "\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" " + kSchemaLocation + ">\n";

std::string PropertiesXml(const std::string& version) {
    return "<Properties><Version>" + version +
           "</Version><IssueDateTime>2026-01-01T00:00:00Z</IssueDateTime>"
           "<RollbackPeriod>900</RollbackPeriod></Properties>\n";
}

std::string Document(const std::string& body, const std::string& version = "1.0") {
    return test::PolicyDocumentText(body, "", "", PropertiesXml(version), kSchemaLocation) + "\n";
}

// A local rule whose source names the given hosts (IpHostCondition XML).
std::string RuleXml(int id, const std::string& hosts) {
    return "<Rule xsi:type=\"sv:LocalRule\"><RuleId>" + std::to_string(id) + "</RuleId><OrderId>" +
           std::to_string(id) +
           "</OrderId><Name>r</Name><CreationType>User</CreationType><ConditionSet>"
           "<Source xsi:type=\"sv:PublicNetwork\">" +
           hosts +
           "</Source></ConditionSet><Action xsi:type=\"sv:Filter\"><FilteringAction>Pass"
           "</FilteringAction></Action><Section>LocalSection</Section></Rule>\n";
}

std::string Host(const std::string& type, const std::string& value) {
    return "<IpHostCondition xsi:type=\"sv:" + type + "\"><Value>" + value +
           "</Value></IpHostCondition>";
}

class QuickScannersTest : public ::testing::Test {
protected:
    void SetUp() override { GetLibLogFacility().AttachSink(&sink_); }
    void TearDown() override { GetLibLogFacility().DetachSink(); }

    std::wstring Log() const {
        std::wstring all;
        for (const std::wstring& line : sink_.Lines()) {
            all += line + L"|";
        }
        return all;
    }

    MemoryLogSink sink_;
};

struct VersionRow {
    const char* label;
    std::string document;
    int result;
    std::wstring version;  // "unchanged" when the scan must not touch it
};

TEST_F(QuickScannersTest, VersionOfDocuments) {
    const std::vector<VersionRow> rows = {
        {"plain", Document(""), 0, L"1.0"},
        {"white space trimmed", Document("", " \n\t2.1 \r\n"), 0, L"2.1"},
        {"character references", Document("", "3&#46;&#x30;"), 0, L"3.0"},
        {"text in pieces", Document("", "1<!-- x -->.5<![CDATA[-beta]]>"), 0, L"1.5-beta"},
        {"non-ASCII", Document("", "v\xC3\xA9"), 0, L"v\u00e9"},
        {"empty version", Document("", ""), 0, L"unchanged"},
        {"no properties", kOpen + "<Rules/></sv:Policy>", 0, L"unchanged"},
        {"version outside properties",
         kOpen + "<Rules/><Properties/><Version>9</Version></sv:Policy>", 0, L"unchanged"},
        {"rule names are text, not elements", Document(RuleXml(1, "")), 0, L"1.0"},
        {"schema location is not loaded",
         "<sv:Policy xmlns:sv=\"urn:x\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
         " xsi:schemaLocation=\"urn:x /nonexistent/rules.xsd\"><Properties><Version>4"
         "</Version></Properties></sv:Policy>",
         0, L"4"},
        {"latin-1 document",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><Policy><Properties><Version>\xE9"
         "</Version></Properties></Policy>",
         -1, L"unchanged"},
        {"not XML", "this is not XML", -1, L"unchanged"},
        {"not well-formed", kOpen + "<Rules></Properties></sv:Policy>", -1, L"unchanged"},
        {"empty input", "", -1, L"unchanged"},
    };
    for (const VersionRow& row : rows) {
        std::wstring version = L"unchanged";
        EXPECT_EQ(GetXmlVersion(ToBytes(row.document), version), row.result) << row.label;
        EXPECT_EQ(version, row.version) << row.label;
    }
}

TEST_F(QuickScannersTest, VersionOfShippedExample) {
    std::wstring version;
    EXPECT_EQ(GetXmlVersion(test::ReadBytes(test::SourcePath("examples/policy.xml")), version), 0);
    EXPECT_EQ(version, L"1.0");
}

TEST_F(QuickScannersTest, UnparsableDocumentIsLogged) {
    std::wstring version;
    ASSERT_EQ(GetXmlVersion(ToBytes("<Policy>\n<Properties>\n</Policy>"), version), -1);
    const std::wstring log = Log();
    EXPECT_THAT(log, HasSubstr(L"Fatal Error: "));
    EXPECT_THAT(log, HasSubstr(L" at line: 3\n|"));
    EXPECT_THAT(log, HasSubstr(L"Exception message is: \n"));
}

// Properties stands last in a policy; a scan that stops at Version never
// meets what follows it, so bytes that break off or turn to garbage there
// still give the version, while a scan of the whole document fails.
TEST_F(QuickScannersTest, VersionScanStopsAtTheVersion) {
    std::string rules;
    for (int id = 1; id <= 20000; ++id) {
        rules += RuleXml(id, Host("DomainName", "host" + std::to_string(id % 7) + ".example"));
    }
    const std::string head = kOpen + "<Rules>" + rules + "</Rules><Properties><Version>7.2";
    for (const std::string& tail :
         {std::string("</Version>"), std::string("</Version><<< garbage &&& "),
          std::string("</Version></Properties></sv:Policy>")}) {
        const std::vector<unsigned char> bytes = ToBytes(head + tail);
        std::wstring version;
        EXPECT_EQ(GetXmlVersion(bytes, version), 0) << tail;
        EXPECT_EQ(version, L"7.2") << tail;
    }
    std::vector<std::wstring> names{L"unchanged"};
    EXPECT_EQ(GetDomainNames(ToBytes(head + "</Version><<< garbage"), names), -1);
    EXPECT_THAT(names, ElementsAre(L"unchanged"));
    EXPECT_EQ(GetDomainNames(ToBytes(head + "</Version></Properties></sv:Policy>"), names), 0);
    EXPECT_EQ(names.size(), 7u);
}

TEST_F(QuickScannersTest, DomainNamesSortedAndDistinct) {
    const std::string document =
        kOpen +
        "<NamedObjects><IpObject><Name>web</Name><Id>1</Id><CreationType>User</CreationType>"
        "<Inclusion xsi:type=\"sv:DomainName\"><Value>www.example.com</Value></Inclusion>"
        "<Inclusion xsi:type=\"sv:IpAddress\"><Value>10.0.0.1</Value></Inclusion>"
        "</IpObject></NamedObjects><Rules>" +
        RuleXml(1, Host("DomainName", "mail.example.org") + Host("IpAddress", "10.0.0.2")) +
        RuleXml(2, Host("DomainName",
                        " b\xC3\xBC"
                        "cher.example\n") +
                       Host("DomainName", "mail.example.org")) +
        RuleXml(3, Host("DomainName", "") + Host("DomainName", "a.example")) + "</Rules>" +
        PropertiesXml("1.0") + "</sv:Policy>";
    std::vector<std::wstring> names{L"old"};
    ASSERT_EQ(GetDomainNames(ToBytes(document), names), 0);
    EXPECT_THAT(names, ElementsAre(L"a.example", L"b\u00fccher.example", L"mail.example.org",
                                   L"www.example.com"));
}

TEST_F(QuickScannersTest, DomainNamesOfShippedExample) {
    std::vector<std::wstring> names;
    ASSERT_EQ(GetDomainNames(test::ReadBytes(test::SourcePath("examples/policy.xml")), names), 0);
    EXPECT_THAT(names, ElementsAre(L"backup.example.com", L"www.example.com"));
}

TEST_F(QuickScannersTest, DomainNamesOfSpecialInputs) {
    struct Row {
        const char* label;
        std::string document;
        int result;
        std::vector<std::wstring> names;
    };
    const std::vector<Row> rows = {
        {"empty input", "", 0, {L"unchanged"}},
        {"no domain names", Document(RuleXml(1, Host("IpAddress", "10.0.0.1"))), 0, {}},
        {"not XML", "{\"json\": true}", -1, {L"unchanged"}},
        {"not well-formed", Document(Host("DomainName", "x") + "<Rule>"), -1, {L"unchanged"}},
    };
    for (const Row& row : rows) {
        std::vector<std::wstring> names{L"unchanged"};
        EXPECT_EQ(GetDomainNames(ToBytes(row.document), names), row.result) << row.label;
        EXPECT_EQ(names, row.names) << row.label;
    }
}

// Entity tricks need a document type declaration; every one is refused
// before its entities are declared, let alone expanded or fetched.
TEST_F(QuickScannersTest, DoctypeIsRefused) {
    test::TempDir dir;
    const auto secret = dir.path() / "secret.txt";
    test::WriteBytes(secret, ToBytes("SECRET"));
    const std::string fileUri = "file://" + secret.string();
    const std::string body =
        "<Policy><Properties><Version>&v;</Version></Properties>"
        "<IpHostCondition xsi:type=\"sv:DomainName\"><Value>&v;</Value></IpHostCondition>"
        "</Policy>";
    const std::vector<std::pair<const char*, std::string>> rows = {
        {"internal entity", "<!DOCTYPE Policy [<!ENTITY v \"SECRET\">]>" + body},
        {"external entity", "<!DOCTYPE Policy [<!ENTITY v SYSTEM \"" + fileUri + "\">]>" + body},
        {"external DTD", "<!DOCTYPE Policy SYSTEM \"" + fileUri + "\">" + body},
        {"entity expansion",
         "<!DOCTYPE Policy [<!ENTITY a \"SECRETSECRET\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">"
         "<!ENTITY v \"&b;&b;&b;&b;&b;&b;&b;&b;\">]>" +
             body},
        {"bare doctype after declaration", "<?xml version=\"1.0\"?>\n<!DOCTYPE Policy>" + body},
    };
    for (const auto& [label, document] : rows) {
        sink_.Clear();
        std::wstring version = L"unchanged";
        std::vector<std::wstring> names{L"unchanged"};
        EXPECT_EQ(GetXmlVersion(ToBytes(document), version), -1) << label;
        EXPECT_EQ(GetDomainNames(ToBytes(document), names), -1) << label;
        EXPECT_EQ(version, L"unchanged") << label;
        EXPECT_THAT(names, ElementsAre(L"unchanged")) << label;
        EXPECT_THAT(Log(), HasSubstr(L"a DOCTYPE is not allowed in a policy document")) << label;
        EXPECT_THAT(Log(), ::testing::Not(HasSubstr(L"SECRET"))) << label;
    }
}

TEST_F(QuickScannersTest, Utf16IsRefusedBeforeItsDoctypeIsRead) {
    const std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-16\"?><!DOCTYPE Policy [<!ENTITY v \"SECRET\">]>"
        "<Policy><Properties><Version>&v;</Version></Properties></Policy>";
    std::vector<unsigned char> bytes{0xFF, 0xFE};
    for (char c : text) {
        bytes.push_back(static_cast<unsigned char>(c));
        bytes.push_back(0);
    }
    std::wstring version = L"unchanged";
    EXPECT_EQ(GetXmlVersion(bytes, version), -1);
    EXPECT_EQ(version, L"unchanged");
    EXPECT_THAT(Log(), HasSubstr(L"a policy document must be encoded in UTF-8")) << Log();
}

// Meant for the thread sanitizer build: scans share no state but Xerces.
TEST(QuickScannersThreadsTest, ScansRunSideBySide) {
    const std::vector<unsigned char> bytes =
        ToBytes(Document(RuleXml(1, Host("DomainName", "a.example"))));
    std::vector<int> failures(4, 0);
    test::RunTogether(failures.size(), [&bytes, &failures](std::size_t t) {
        for (int i = 0; i < 50; ++i) {
            std::wstring version;
            std::vector<std::wstring> names;
            if (GetXmlVersion(bytes, version) != 0 || version != L"1.0" ||
                GetDomainNames(bytes, names) != 0 ||
                names != std::vector<std::wstring>{L"a.example"}) {
                ++failures[t];
            }
        }
    });
    EXPECT_THAT(failures, ElementsAre(0, 0, 0, 0));
}

TEST(ConvertRulesToActualVersionTest, CopiesTheBytes) {
    for (const std::string& text : {Document(""), std::string("not XML at all"), std::string()}) {
        const std::vector<unsigned char> bytes = ToBytes(text);
        std::vector<unsigned char> converted = ToBytes("previous contents");
        EXPECT_EQ(ConvertRulesToActualVersion(bytes, converted), 0);
        EXPECT_EQ(converted, bytes);
    }
}

}  // namespace
}  // namespace fwcommon
