// Documents written to make the parser read files, expand entities or load
// other schemas are refused with a clear error.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/TestFiles.h"
#include "document/DocumentTestSupport.h"

namespace fwcommon::test {
namespace {

const std::string kSecret = "fwcommon-secret-marker-3141";

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

// A valid document whose rule name is replaced by `nameText`, preceded by
// `prolog` (a DOCTYPE, say).
std::string PolicyWith(const std::string& prolog, const std::string& nameText) {
    std::string xml = MinimalPolicy(
        "<Rule xsi:type=\"sv:LocalRule\"><RuleId>1</RuleId><OrderId>1</OrderId><Name>" + nameText +
        "</Name><CreationType>User</CreationType><ConditionSet/><Action xsi:type=\"sv:Filter\">"
        "<FilteringAction>Pass</FilteringAction></Action><Section>LocalSection</Section></Rule>");
    xml.insert(xml.find("<sv:Policy"), prolog);
    return xml;
}

class HostileInput : public ::testing::Test {
protected:
    TempDir dir;
    std::string SecretFile() {
        const auto path = dir.path() / "secret.txt";
        WriteBytes(path, ToBytes(kSecret));
        return path.string();
    }
};

TEST_F(HostileInput, ExternalEntityNamingALocalFileIsRefused) {
    const std::string xml = PolicyWith(
        "<!DOCTYPE sv:Policy [<!ENTITY secret SYSTEM \"file://" + SecretFile() + "\">]>\n",
        "&secret;");
    const std::wstring error = ParseError(ToBytes(xml));
    EXPECT_NE(std::wstring::npos, error.find(L"DOCTYPE")) << Narrow(error);
    EXPECT_EQ(std::wstring::npos, error.find(std::wstring(kSecret.begin(), kSecret.end())));
}

TEST_F(HostileInput, DoctypeIsRefusedByTheParserInAnyEncoding) {
    std::string xml = PolicyWith(
        "<!DOCTYPE sv:Policy [<!ENTITY secret SYSTEM \"file://" + SecretFile() + "\">]>\n",
        "&secret;");
    xml.replace(xml.find("UTF-8"), 5, "UTF-16");
    std::vector<unsigned char> utf16 = {0xFF, 0xFE};
    for (char c : xml) {
        utf16.push_back(static_cast<unsigned char>(c));
        utf16.push_back(0);
    }
    const std::wstring error = ParseError(utf16);
    EXPECT_NE(L"", error);
    EXPECT_EQ(std::wstring::npos, error.find(std::wstring(kSecret.begin(), kSecret.end())));
}

TEST_F(HostileInput, ExternalDtdIsRefused) {
    const std::string xml =
        PolicyWith("<!DOCTYPE sv:Policy SYSTEM \"file://" + SecretFile() + "\">\n", "r");
    EXPECT_NE(std::wstring::npos, ParseError(ToBytes(xml)).find(L"DOCTYPE"));
}

TEST_F(HostileInput, BillionLaughsIsRefusedBeforeAnyExpansion) {
    std::string doctype = "<!DOCTYPE sv:Policy [<!ENTITY l0 \"lol\">";
    for (int level = 1; level <= 12; ++level) {
        doctype += "<!ENTITY l" + std::to_string(level) + " \"";
        for (int k = 0; k < 10; ++k) {
            doctype += "&l" + std::to_string(level - 1) + ";";
        }
        doctype += "\">";
    }
    doctype += "]>\n";
    EXPECT_NE(std::wstring::npos,
              ParseError(ToBytes(PolicyWith(doctype, "&l12;"))).find(L"DOCTYPE"));
}

TEST_F(HostileInput, SchemaLocationInTheDocumentIsNeverLoaded) {
    // A schema that would accept anything under Policy, and would fail to
    // load if it were ever opened.
    const auto other = dir.path() / "other.xsd";
    WriteBytes(other, ToBytes("<not-a-schema>" + kSecret));
    std::string xml = MinimalPolicy();
    xml.replace(xml.find("<Rules>"), 7, "<Anything/><Rules>");
    const std::string location = " xsi:schemaLocation=\"" + std::string(kDocumentNamespaceNarrow) +
                                 " file://" + other.string() + "\"";
    xml.insert(xml.find(" xmlns:sv="), location);

    try {
        ParsePolicyDocument(ToBytes(xml));
        FAIL() << "a document invalid against the rules schema was accepted";
    } catch (const xml_schema::parsing& e) {
        for (const auto& d : e.diagnostics()) {
            EXPECT_EQ(L"policy", d.id()) << "a diagnostic came from another file";
            EXPECT_EQ(std::wstring::npos, d.message().find(L"other.xsd")) << Narrow(d.message());
        }
    }
}

TEST_F(HostileInput, NoNamespaceSchemaLocationIsIgnoredToo) {
    std::string xml = MinimalPolicy();
    xml.insert(xml.find(" xmlns:sv="),
               " xsi:noNamespaceSchemaLocation=\"file://" + SecretFile() + "\"");
    EXPECT_EQ(L"", ParseError(ToBytes(xml))) << "a valid document must still load";
}

}  // namespace
}  // namespace fwcommon::test
