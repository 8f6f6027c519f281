// Hostile documents, in one place. Every way into the library that reads
// policy bytes (the typed parse, the document store and the two quick
// scanners) meets each document: those written to make the parser open a
// file, expand entities, load another schema, recurse, or exhaust memory are
// refused with a clear error, and the valid ones are accepted. Nothing a
// hostile document names is ever opened, and a refused document yields no
// partial result. The large cases simply must finish: no timing is asserted.

#include <iconv.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fwcommon/IRule.h>
#include <fwcommon/QuickScanners.h>
#include <fwcommon/XmlReaderFactory.h>

#include "common/PolicyText.h"
#include "common/TestFiles.h"
#include "document/DocumentTestSupport.h"
#include "hostile/FileAccessWatch.h"

namespace fwcommon::test {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

const std::wstring kNotUtf8 = L"a policy document must be encoded in UTF-8";

const std::string kSecret = "fwcommon-secret-marker-3141";
const std::wstring kWideSecret(kSecret.begin(), kSecret.end());

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

// A valid document holding one local rule named `nameText`, preceded by
// `prolog` (a DOCTYPE, say).
std::string PolicyWith(const std::string& prolog, const std::string& nameText) {
    std::string xml = MinimalPolicy(
        "<Rule xsi:type=\"sv:LocalRule\"><RuleId>1</RuleId><OrderId>1</OrderId><Name>" + nameText +
        "</Name><CreationType>User</CreationType><ConditionSet/><Action xsi:type=\"sv:Filter\">"
        "<FilteringAction>Pass</FilteringAction></Action><Section>LocalSection</Section></Rule>");
    xml.insert(xml.find("<sv:Policy"), prolog);
    return xml;
}

// The minimal document with `text` inserted right before `anchor`.
std::string MinimalWith(const std::string& anchor, const std::string& text) {
    std::string xml = MinimalPolicy();
    xml.insert(xml.find(anchor), text);
    return xml;
}

std::vector<unsigned char> Utf16(const std::string& ascii) {
    std::vector<unsigned char> bytes = {0xFF, 0xFE};
    for (char c : ascii) {
        bytes.push_back(static_cast<unsigned char>(c));
        bytes.push_back(0);
    }
    return bytes;
}

// What every reader of policy bytes made of one document.
struct Outcome {
    std::wstring parseError;  // empty when the typed parse accepted it
    std::wstring storeError;  // empty when GetXmlReader accepted it
    int versionScan = 0;
    int domainScan = 0;
    std::wstring version = L"unchanged";
    std::vector<std::wstring> names = {L"unchanged"};
};

Outcome ReadEverywhere(const std::vector<unsigned char>& bytes) {
    Outcome outcome;
    outcome.parseError = ParseError(bytes);
    try {
        GetXmlReader(bytes, L"hostile.xml", User)->GetRules(eLocalRules);
    } catch (const xml_schema::exception& e) {
        outcome.storeError = ErrorText(e);
    }
    outcome.versionScan = GetXmlVersion(bytes, outcome.version);
    outcome.domainScan = GetDomainNames(bytes, outcome.names);
    return outcome;
}

class HostileInput : public ::testing::Test {
protected:
    TempDir dir;
    FileAccessWatch watch{dir.path()};

    // A file with the secret marker, in the watched directory.
    std::string SecretFile() {
        const auto path = dir.path() / "secret.txt";
        WriteBytes(path, ToBytes(kSecret));
        watch.Events();  // writing it is not the library's doing
        return path.string();
    }

    // Refused by the typed parse and the store with the same error, which
    // holds `expected` and never the secret; refused by both scanners,
    // which leave their results alone; no file opened.
    void ExpectRefusedEverywhere(const std::vector<unsigned char>& bytes,
                                 const std::wstring& expected) {
        const Outcome outcome = ReadEverywhere(bytes);
        EXPECT_THAT(Narrow(outcome.parseError), HasSubstr(Narrow(expected)));
        EXPECT_EQ(outcome.parseError, outcome.storeError);
        EXPECT_THAT(Narrow(outcome.parseError), Not(HasSubstr(kSecret)));
        EXPECT_EQ(-1, outcome.versionScan);
        EXPECT_EQ(-1, outcome.domainScan);
        EXPECT_EQ(L"unchanged", outcome.version);
        EXPECT_EQ(std::vector<std::wstring>{L"unchanged"}, outcome.names);
        EXPECT_THAT(watch.Events(), IsEmpty());
    }
};

// ---- document type declarations: refused before anything is read ----

TEST_F(HostileInput, DoctypesAreRefusedByEveryReader) {
    std::string laughs = "<!DOCTYPE sv:Policy [<!ENTITY l0 \"lol\">";
    for (int level = 1; level <= 12; ++level) {
        laughs += "<!ENTITY l" + std::to_string(level) + " \"" +
                  Repeated("&l" + std::to_string(level - 1) + ";", 10) + "\">";
    }
    laughs += "]>\n";
    const std::string uri = "file://" + SecretFile();
    const struct {
        const char* label;
        std::string xml;
    } rows[] = {
        {"external entity",
         PolicyWith("<!DOCTYPE sv:Policy [<!ENTITY s SYSTEM \"" + uri + "\">]>\n", "&s;")},
        {"external parameter entity",
         PolicyWith("<!DOCTYPE sv:Policy [<!ENTITY % p SYSTEM \"" + uri + "\"> %p;]>\n", "r")},
        {"external DTD", PolicyWith("<!DOCTYPE sv:Policy SYSTEM \"" + uri + "\">\n", "r")},
        {"public external DTD",
         PolicyWith("<!DOCTYPE sv:Policy PUBLIC \"-//x//y//EN\" \"" + uri + "\">\n", "r")},
        {"billion laughs", PolicyWith(laughs, "&l12;")},
        {"internal entity", PolicyWith("<!DOCTYPE sv:Policy [<!ENTITY s \"x\">]>\n", "&s;")},
        {"bare DOCTYPE", PolicyWith("<!DOCTYPE sv:Policy>\n", "r")},
        {"DOCTYPE after a comment", PolicyWith("<!-- c --><!DOCTYPE sv:Policy>\n", "r")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        ExpectRefusedEverywhere(ToBytes(row.xml), L"a DOCTYPE is not allowed in a policy document");
    }
}

TEST_F(HostileInput, DoctypeInUtf16IsRefusedByEveryReader) {
    std::string xml = PolicyWith(
        "<!DOCTYPE sv:Policy [<!ENTITY s SYSTEM \"file://" + SecretFile() + "\">]>\n", "&s;");
    xml.replace(xml.find("UTF-8"), 5, "UTF-16");
    ExpectRefusedEverywhere(Utf16(xml), kNotUtf8);
}

// ---- only UTF-8 XML 1.0 reaches a parser ----

// The bytes of `text` (UTF-8) in another encoding, through iconv.
std::vector<unsigned char> Encoded(const std::string& text, const char* encoding) {
    const iconv_t converter = iconv_open(encoding, "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "no iconv converter to " << encoding;
        return {};
    }
    std::vector<unsigned char> out(text.size() * 8 + 16);
    std::string in = text;
    char* inPointer = in.data();
    std::size_t inLeft = in.size();
    char* outPointer = reinterpret_cast<char*>(out.data());
    std::size_t outLeft = out.size();
    const std::size_t converted = iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft);
    iconv_close(converter);
    EXPECT_NE(static_cast<std::size_t>(-1), converted) << encoding;
    out.resize(out.size() - outLeft);
    return out;
}

std::string DeclaringEncoding(const std::string& encoding, const std::string& body) {
    std::string xml = PolicyWith("", body);
    xml.replace(xml.find("UTF-8"), 5, encoding);
    return xml;
}

TEST_F(HostileInput, DocumentsInOtherEncodingsAreRefusedByEveryReader) {
    const struct {
        const char* label;
        std::vector<unsigned char> bytes;
    } rows[] = {
        {"EBCDIC (IBM037)", Encoded(DeclaringEncoding("IBM037", "r"), "IBM037")},
        {"UTF-7", ToBytes(DeclaringEncoding("UTF-7", "r"))},
        {"UTF-7 with its mark", ToBytes("+/v8" + DeclaringEncoding("UTF-7", "r"))},
        {"UTF-16 with a mark", Utf16(DeclaringEncoding("UTF-16", "r"))},
        {"UTF-16 without a mark", Encoded(DeclaringEncoding("UTF-16", "r"), "UTF-16LE")},
        {"UTF-16BE without a mark", Encoded(DeclaringEncoding("UTF-16", "r"), "UTF-16BE")},
        {"UTF-32", Encoded(DeclaringEncoding("UTF-32", "r"), "UTF-32")},
        {"Latin-1", ToBytes(DeclaringEncoding("ISO-8859-1", "caf\xE9"))},
        {"ASCII", ToBytes(DeclaringEncoding("US-ASCII", "r"))},
        {"UTF-16 mark before a UTF-8 body", ToBytes("\xFF\xFE" + PolicyWith("", "r"))},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        ExpectRefusedEverywhere(row.bytes, kNotUtf8);
    }
}

// EBCDIC markup escaped the bounds on nesting and attributes, so that the
// parser spent tens of seconds and then overflowed its stack on teardown.
TEST_F(HostileInput, DeepNestingInEbcdicIsRefusedBeforeTheParser) {
    ExpectRefusedEverywhere(Encoded(DeclaringEncoding("IBM037", Repeated("<a>", 100000)), "IBM037"),
                            kNotUtf8);
}

TEST_F(HostileInput, Xml11IsRefusedByEveryReader) {
    std::string xml = PolicyWith("", "control &#x1; character");
    xml.replace(xml.find("version=\"1.0\""), 13, "version=\"1.1\"");
    ExpectRefusedEverywhere(ToBytes(xml), L"must be XML 1.0; this one declares version \"1.1\"");
}

TEST_F(HostileInput, Utf8SpelledAnyWayWithOrWithoutMarkIsAccepted) {
    std::string lower = PolicyWith("", "r");
    lower.replace(lower.find("UTF-8"), 5, "utf-8");
    std::string undeclared = PolicyWith("", "r");
    undeclared.erase(0, undeclared.find("?>") + 2);
    for (const std::string& xml : {lower, undeclared, "\xEF\xBB\xBF" + lower}) {
        const Outcome outcome = ReadEverywhere(ToBytes(xml));
        EXPECT_EQ(L"", outcome.parseError);
        EXPECT_EQ(L"", outcome.storeError);
        EXPECT_EQ(0, outcome.versionScan);
        EXPECT_EQ(0, outcome.domainScan);
    }
}

// ---- schemas named by the document are never loaded ----

TEST_F(HostileInput, SchemaLocationNamingAnotherSchemaIsNeverLoaded) {
    // A schema that would accept anything under Policy, and would fail to
    // load if it were ever opened.
    const auto other = dir.path() / "other.xsd";
    WriteBytes(other, ToBytes("<not-a-schema>" + kSecret));
    watch.Events();
    const std::string location = " xsi:schemaLocation=\"" + std::string(kDocumentNamespaceNarrow) +
                                 " file://" + other.string() + "\"";
    std::string invalid = MinimalWith("<Rules>", "<Anything/>");
    invalid.insert(invalid.find(" xmlns:sv="), location);

    try {
        ParsePolicyDocument(ToBytes(invalid));
        FAIL() << "a document invalid against the rules schema was accepted";
    } catch (const xml_schema::parsing& e) {
        ASSERT_FALSE(e.diagnostics().empty());
        for (const auto& d : e.diagnostics()) {
            EXPECT_EQ(L"policy", d.id()) << "a diagnostic came from another file";
            EXPECT_EQ(std::wstring::npos, d.message().find(L"other.xsd")) << Narrow(d.message());
        }
    }
    std::string valid = MinimalPolicy();
    valid.insert(valid.find(" xmlns:sv="), location);
    const Outcome outcome = ReadEverywhere(ToBytes(valid));
    EXPECT_EQ(L"", outcome.parseError);
    EXPECT_EQ(L"", outcome.storeError);
    EXPECT_EQ(L"1.0", outcome.version);
    EXPECT_THAT(watch.Events(), IsEmpty());
}

TEST_F(HostileInput, NoNamespaceSchemaLocationIsIgnored) {
    const std::string xml =
        MinimalWith(" xmlns:sv=", " xsi:noNamespaceSchemaLocation=\"file://" + SecretFile() + "\"");
    const Outcome outcome = ReadEverywhere(ToBytes(xml));
    EXPECT_EQ(L"", outcome.parseError) << "a valid document must still load";
    EXPECT_EQ(L"", outcome.storeError);
    EXPECT_EQ(0, outcome.versionScan);
    EXPECT_THAT(watch.Events(), IsEmpty());
}

// ---- broken and oversized documents ----

// Refused before the parser, which would place the fault where its scanner
// stood (lines before it), name the byte as a replacement character, and
// take lead bytes above 0xF4.
TEST_F(HostileInput, InvalidUtf8IsRefusedWhereItStands) {
    const std::wstring must = L" not valid UTF-8; a policy document must be encoded in UTF-8";
    const struct {
        const char* label;
        std::string bytes;
        std::wstring error;
    } rows[] = {
        {"lone continuation byte", "\x80", L"the byte 0x80 is" + must},
        {"two-byte lead before ASCII", "\xC3(", L"the bytes 0xC3 0x28 are" + must},
        {"overlong encoding of '/'", "\xC0\xAF", L"the byte 0xC0 is" + must},
        {"overlong three-byte form", "\xE0\x80\xAF", L"the bytes 0xE0 0x80 are" + must},
        {"surrogate half", "\xED\xA0\x80", L"the bytes 0xED 0xA0 are" + must},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", L"the bytes 0xF4 0x90 are" + must},
        {"lead byte 0xF5, which Xerces takes", "\xF5\x80\x80\x80", L"the byte 0xF5 is" + must},
        {"ISO-8859-1 u-umlaut", "Z\xFCrich", L"the byte 0xFC is" + must},
        {"three-byte form cut by ASCII",
         "\xE2\x82"
         "B",
         L"the bytes 0xE2 0x82 0x42 are" + must},
        {"0xFF", "\xFF", L"the byte 0xFF is" + must},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        ExpectRefusedEverywhere(ToBytes(PolicyWith("", "bad " + row.bytes + " name")), row.error);
    }
    // Line and column of the sequence's first byte, columns in characters.
    const std::string whole = PolicyWith("", "r");
    const auto line = std::count(whole.begin(), whole.end(), '\n') + 2;
    EXPECT_THAT(Narrow(ParseError(ToBytes(whole + "\n  \xC3\xBC\xFC"))),
                HasSubstr(":" + std::to_string(line) + ":4 error: the byte 0xFC is"));
    EXPECT_THAT(Narrow(ParseError(ToBytes(whole + "\xE2\x82"))),
                HasSubstr("the bytes 0xE2 0x82 are not valid UTF-8 (the document ends inside a "
                          "character)"));
    for (const std::string& name :
         {std::string("\xF0\x9F\x98\x80"), std::string("\xF4\x8F\xBF\xBF"),
          std::string("Z\xC3\xBCrich \xE2\x82\xAC")}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(L"", ParseError(ToBytes(PolicyWith("", name))));
    }
}

// Xerces takes a NUL after the root element for the end of the input, so
// whatever follows it would never be read.
TEST_F(HostileInput, NulBytesAnywhereAreRefusedByEveryReader) {
    const std::wstring nul = L"a NUL byte is not allowed in a policy document";
    const std::string whole = PolicyWith("", "r");
    const struct {
        const char* label;
        std::string xml;
    } rows[] = {
        {"trailing NULs", whole + std::string(4096, '\0')},
        {"a NUL, then a second root", whole + std::string(1, '\0') + "<x/>"},
        {"a comment, then a NUL", whole + "<!-- end -->" + std::string(1, '\0')},
        {"a NUL inside a name", PolicyWith("", std::string("a\0b", 3))},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        ExpectRefusedEverywhere(ToBytes(row.xml), nul);
    }
    const auto lineOfNul = std::count(whole.begin(), whole.end(), '\n') + 2;
    EXPECT_THAT(Narrow(ParseError(ToBytes(whole + "\n  " + std::string(1, '\0')))),
                HasSubstr(":" + std::to_string(lineOfNul) + ":3 error: a NUL byte"));
}

TEST_F(HostileInput, WhiteSpaceCommentsAndInstructionsAfterTheRootAreKept) {
    for (const std::string& tail :
         {std::string(" \n\t"), std::string("<!-- end -->\n"), std::string("<?tool run?>")}) {
        SCOPED_TRACE("'" + tail + "'");
        EXPECT_EQ(L"", ParseError(ToBytes(PolicyWith("", "r") + tail)));
    }
    EXPECT_NE(L"", ParseError(ToBytes(PolicyWith("", "r") + "trailing text")));
    EXPECT_NE(L"", ParseError(ToBytes(PolicyWith("", "r") + "<x/>")));
}

TEST_F(HostileInput, EmptyBlankAndMalformedBytesAreRefusedByTheParse) {
    for (const std::string& text : {std::string(), std::string(" \n"), std::string("<"),
                                    std::string("<sv:Policy"), std::string("not xml at all")}) {
        SCOPED_TRACE("'" + text + "'");
        EXPECT_NE(L"", ParseError(ToBytes(text)));
        EXPECT_THAT(watch.Events(), IsEmpty());
    }
}

TEST_F(HostileInput, TruncatedDocumentsAreRefused) {
    const std::string whole = PolicyWith("", "r");
    for (std::size_t length : {std::size_t{1}, std::size_t{20}, whole.find("<Rules>"),
                               whole.find("</Name>") + 3, whole.size() - 3}) {
        SCOPED_TRACE("first " + std::to_string(length) + " bytes");
        const std::vector<unsigned char> bytes = ToBytes(whole.substr(0, length));
        const Outcome outcome = ReadEverywhere(bytes);
        EXPECT_NE(L"", outcome.parseError);
        EXPECT_EQ(outcome.parseError, outcome.storeError);
        EXPECT_EQ(-1, outcome.domainScan);
    }
}

// The minimal document with elements nested `levels` deep inside Rules.
std::string Nested(int levels) {
    return MinimalWith("</Rules>", Repeated("<a>", levels) + Repeated("</a>", levels));
}

// The minimal document whose Rules element carries that many attributes.
std::string Crowded(int attributes, const std::string& extra = "") {
    std::string text;
    for (int i = 0; i < attributes; ++i) {
        text += " a" + std::to_string(i) + "='1'";
    }
    std::string xml = MinimalPolicy();
    xml.insert(xml.find("<Rules>") + 6, text + extra);
    return xml;
}

// Past a few hundred levels or attributes the XML parser's own work grows
// with the square of the input, so such documents are refused up front.
TEST_F(HostileInput, DeepNestingAndCrowdedElementsAreRefused) {
    const std::wstring deep = L"policy:2:872 error: elements are nested deeper than 256 levels";
    const std::wstring many = L"policy:2:103 error: an element carries more than 1024 attributes";
    const struct {
        const char* label;
        std::string xml;
        std::wstring error;
    } rows[] = {
        {"100,000 levels", Nested(100000), deep},
        {"257 levels", Nested(257), deep},
        {"100,000 attributes", Crowded(100000), many},
        {"100,000 attributes, one twice", Crowded(100000, " a99999='2'"), many},
        {"1,025 attributes", Crowded(1025), many},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        ExpectRefusedEverywhere(ToBytes(row.xml), row.error);
    }
}

TEST_F(HostileInput, NestingAndAttributesWithinTheBoundsReachTheSchema) {
    // Policy and Rules make 256 levels.
    const Outcome deep = ReadEverywhere(ToBytes(Nested(254)));
    EXPECT_THAT(Narrow(deep.parseError), HasSubstr("no declaration found for element 'a'"));
    EXPECT_EQ(0, deep.domainScan);

    const Outcome crowded = ReadEverywhere(ToBytes(Crowded(1024)));
    EXPECT_THAT(Narrow(crowded.parseError), HasSubstr("attribute 'a0' is not declared"));
    EXPECT_EQ(0, crowded.domainScan);
}

// Markup inside comments, CDATA, processing instructions and attribute
// values is not mistaken for elements.
TEST_F(HostileInput, MarkupLookalikesDoNotCountTowardsTheBounds) {
    const std::string lookalikes = Repeated("<a>", 300);
    const std::string rule =
        "<Rule xsi:type=\"sv:LocalRule\" Reserved3=\"" + std::string(300, '=') +
        "&lt;a&gt;\"><RuleId>1</RuleId><OrderId>1</OrderId>" + "<Name><![CDATA[" + lookalikes +
        "]]></Name><CreationType>User</CreationType>" +
        "<ConditionSet/><Action xsi:type=\"sv:Filter\"><FilteringAction>Pass" +
        "</FilteringAction></Action><Section>LocalSection</Section></Rule>";
    std::string xml = MinimalPolicy("<!--" + lookalikes + "-->" + rule);
    xml.insert(xml.find("<sv:Policy"), "<?pi " + lookalikes + "?>");
    const Outcome outcome = ReadEverywhere(ToBytes(xml));
    EXPECT_EQ(L"", outcome.parseError);
    EXPECT_EQ(L"", outcome.storeError);
    EXPECT_EQ(0, outcome.domainScan);
}

// A text node of 200 MB is refused before any parser holds it (it would
// cost the parser and the typed document several bytes per character);
// only the first-match version scan, which stops before it, reads on.
TEST_F(HostileInput, TwoHundredMegabyteTextNodesAreRefused) {
    const std::string huge(200u * 1024 * 1024, '9');
    const std::wstring error = L"error: a text is longer than 1048576 characters";
    {
        SCOPED_TRACE("where a number belongs");
        std::string xml = MinimalPolicy();
        xml.replace(xml.find("900</RollbackPeriod>"), 3, huge);
        const Outcome outcome = ReadEverywhere(ToBytes(xml));
        EXPECT_THAT(Narrow(outcome.parseError), HasSubstr(Narrow(error)));
        EXPECT_EQ(outcome.parseError, outcome.storeError);
        EXPECT_EQ(0, outcome.versionScan);
        EXPECT_EQ(L"1.0", outcome.version);
        EXPECT_EQ(0, outcome.domainScan);
    }
    {
        SCOPED_TRACE("as the version, in two CDATA sections");
        std::string xml = MinimalPolicy();
        const std::string half = huge.substr(0, huge.size() / 2);
        xml.replace(xml.find("1.0</Version>"), 3,
                    "<![CDATA[" + half + "]]><![CDATA[" + half + "]]>");
        const Outcome outcome = ReadEverywhere(ToBytes(xml));
        EXPECT_THAT(Narrow(outcome.parseError), HasSubstr(Narrow(error)));
        EXPECT_EQ(outcome.parseError, outcome.storeError);
        EXPECT_EQ(-1, outcome.versionScan);
        EXPECT_EQ(L"unchanged", outcome.version);
        // The domain scan keeps no text it does not collect.
        EXPECT_EQ(0, outcome.domainScan);
    }
}

// Just below the bound a long text is an ordinary value.
TEST_F(HostileInput, TextOfAMegabyteIsAccepted) {
    const std::string name(1048576, 'n');
    const Outcome outcome = ReadEverywhere(ToBytes(PolicyWith("", name)));
    EXPECT_EQ(L"", outcome.parseError);
    EXPECT_EQ(L"", outcome.storeError);
    const auto policy = ParsePolicyDocument(ToBytes(PolicyWith("", name)));
    EXPECT_EQ(name.size(), policy->Rules().Rule().front().Name().size());
}

}  // namespace
}  // namespace fwcommon::test
