// The check of an edited document reads only what the edit changed; its
// verdict and its diagnostics must be those of reading the whole document,
// whatever the edit did to the bytes.

#include <optional>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/PolicyDocument.h>
#include "common/TestFiles.h"
#include "document/AttributeDefaults.h"
#include "document/ChangedItems.h"
#include "document/DocumentTestSupport.h"
#include "document/MarkupLimits.h"

namespace fwcommon::test {
namespace {

std::string Text(const std::vector<unsigned char>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// The example policy as the library writes it: what an edit starts from.
std::string WrittenExample() {
    return Text(
        WritePolicyDocument(*ParsePolicyDocument(ReadBytes(SourcePath("examples/policy.xml")))));
}

bool IsSchemaDefault(const std::string& attribute, const std::string& value) {
    for (const document::AttributeDefault& d : document::AttributeDefaultsOf(L"")) {
        if (d.attribute == attribute && d.value == value)
            return true;
    }
    return false;
}

// One start tag laid out otherwise: attributes in reverse order, in single
// quotes where they can be, the schema's defaults left out.
std::string RelaidTag(const std::smatch& tag) {
    static const std::regex kAttribute(R"re(([\w:]+)="([^"]*)")re");
    const std::string list = tag[2];
    std::vector<std::string> attributes;
    for (std::sregex_iterator a(list.begin(), list.end(), kAttribute), end; a != end; ++a) {
        const std::string name = (*a)[1];
        const std::string value = (*a)[2];
        if (IsSchemaDefault(name, value))
            continue;
        const char quote = value.find('\'') == std::string::npos ? '\'' : '"';
        attributes.insert(attributes.begin(), name + "=" + quote + value + quote);
    }
    std::string text = "<" + tag[1].str();
    for (const std::string& attribute : attributes)
        text += "\n\t\t" + attribute;
    return text + tag[3].str() + ">";
}

// The written example as another program might lay it out: tags relaid,
// no schema location, tabs for indentation, empty elements as <A/>,
// comments around the lists.
std::string OtherLayout(const std::string& written) {
    static const std::regex kTag(R"re(<([A-Za-z][\w:]*)((?:\s+[\w:]+="[^"]*")*)\s*(/?)>)re");
    std::string out;
    auto last = written.cbegin();
    for (std::sregex_iterator tag(written.begin(), written.end(), kTag), end; tag != end; ++tag) {
        out.append(last, (*tag)[0].first);
        out += RelaidTag(*tag);
        last = (*tag)[0].second;
    }
    out.append(last, written.cend());
    out = std::regex_replace(out, std::regex(R"(\s+xsi:schemaLocation='[^']*')"), "");
    out = std::regex_replace(out, std::regex(R"(<(\w+)>(</\1>))"), "<$1/>");
    out = std::regex_replace(out, std::regex("\n((  )+)"), "\n\t$1");
    out = std::regex_replace(out, std::regex("\\?>\n"), "?>\n<!-- exported by hand -->\n");
    return std::regex_replace(out, std::regex("<Rules>"), "<!-- the rules -->\n<Rules>");
}

template <typename Check>
std::string ErrorOf(Check check) {
    try {
        check();
    } catch (const xml_schema::exception& e) {
        const std::wstring text = ErrorText(e);
        return std::string(text.begin(), text.end());
    }
    return "accepted";
}

std::string WholeVerdict(const std::string& edited) {
    return ErrorOf([&] { ValidatePolicyDocument(ToBytes(edited)); });
}

std::string EditedVerdict(const std::string& valid, const std::string& edited) {
    return ErrorOf([&] { ValidateEditedPolicyDocument(ToBytes(valid), ToBytes(edited)); });
}

// Offset of the n-th (from 0) occurrence of `what`.
std::size_t Nth(const std::string& text, const std::string& what, int n) {
    std::size_t at = text.find(what);
    for (int i = 0; i < n && at != std::string::npos; ++i)
        at = text.find(what, at + 1);
    if (at == std::string::npos)
        throw std::logic_error("no occurrence " + std::to_string(n) + " of " + what);
    return at;
}

std::string ReplacedAt(std::string text, const std::string& what, int n, const std::string& with) {
    return text.replace(Nth(text, what, n), what.size(), with);
}

// The n-th element that starts with `open` and ends with `close`, with the
// line's indentation before it.
std::string Element(const std::string& text, const std::string& open, const std::string& close,
                    int n) {
    const std::size_t begin = Nth(text, open, n);
    return text.substr(begin, text.find(close, begin) + close.size() - begin);
}

std::string Without(std::string text, const std::string& part) {
    return text.erase(text.find(part), part.size());
}

std::string InsertedAfter(std::string text, const std::string& what, int n,
                          const std::string& part) {
    return text.insert(Nth(text, what, n) + what.size(), part);
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

// The documents an edit of the written example may start from: the same
// bytes, or the same policy laid out otherwise.
struct StartingPoint {
    const char* label;
    std::string bytes;
};

std::vector<StartingPoint> StartingPoints(const std::string& written) {
    return {{"the written file", written}, {"a file laid out otherwise", OtherLayout(written)}};
}

TEST(ValidateEditedPolicyDocument, GivesTheWholeReadsVerdictForEachKindOfEdit) {
    const std::string valid = WrittenExample();
    const std::string rule = Element(valid, "<Rule ", "</Rule>", 1);
    const std::string schedule = Element(valid, "<ScheduleObject>", "</ScheduleObject>", 0);
    const std::string service = Element(valid, "<ServiceObject>", "</ServiceObject>", 2);
    const struct {
        const char* label;
        std::string edited;
    } rows[] = {
        {"unchanged", valid},
        {"a rule switched off", ReplacedAt(valid, "IsActive=\"true\"", 3, "IsActive=\"false\"")},
        {"a bad value in a middle rule", ReplacedAt(valid, "<OrderId>", 4, "<OrderId>x")},
        {"a bad value in the first rule", ReplacedAt(valid, "<OrderId>", 0, "<OrderId>x")},
        {"a bad value in the last rule", ReplacedAt(valid, "</Rule>", 10, "<Extra/></Rule>")},
        {"a rule added in the middle", InsertedAfter(valid, "</Rule>", 4, "\n    " + rule)},
        {"a rule removed", Without(valid, rule)},
        {"a schedule object after the services",
         InsertedAfter(Without(valid, schedule), "</ServiceObject>", 1, schedule)},
        {"a service object before the schedules",
         InsertedAfter(Without(valid, service), "<NamedObjects>", 0, service)},
        {"the last service object turned into a schedule object",
         ReplacedAt(valid, service, 0, schedule)},
        {"the options begun before the last rule",
         InsertedAfter(Without(valid, "</Rules>\n  <Options>"), "</Rule>", 9,
                       "\n  </Rules>\n  <Options>")},
        {"a rule among the options", InsertedAfter(valid, "<Options>", 0, rule)},
        {"a rule among the named objects", InsertedAfter(valid, "</ServiceObject>", 0, rule)},
        {"a comment between rules", InsertedAfter(valid, "</Rule>", 2, "<!-- note -->")},
        {"a rule's end tag lost", ReplacedAt(valid, "</Rule>", 5, "")},
        {"a tag cut short", ReplacedAt(valid, "<OrderId>", 6, "<OrderId")},
        {"a quoted '>' in an attribute",
         ReplacedAt(valid, "IsActive=\"true\"", 2, "IsActive=\">\"")},
        {"an unclosed quote", ReplacedAt(valid, "IsActive=\"true\"", 2, "IsActive=\"true")},
        {"a leap second", ReplacedAt(valid, "<IssueDateTime>", 0, "<IssueDateTime>x")},
        {"another namespace", ReplacedAt(valid, "xmlns:sv=\"", 0, "xmlns:sv=\"urn:other")},
        {"the rules list renamed", ReplacedAt(valid, "<Rules>", 0, "<Rulez>")},
        {"a prefix bound again on the rules",
         ReplacedAt(valid, "<Rules>", 0, "<Rules xmlns:sv=\"urn:other\">")},
        {"a second rules list", InsertedAfter(valid, "</Rules>", 0, "<Rules>" + rule + "</Rules>")},
        {"the document cut short", valid.substr(0, valid.size() / 2)},
        {"white space between rules longer than a text may be",
         InsertedAfter(valid, "</Rule>", 3, std::string(document::kMaxTextLength, '\n'))},
        {"a default's attribute on a type without it",
         ReplacedAt(valid, "<Action ", 2, "<Action IsActive=\"true\" ")},
        {"a default's attribute with a bad value",
         ReplacedAt(valid, "IsBidirectional=\"false\"", 1, "IsBidirectional=\"no\"")},
        {"a default's attribute twice",
         ReplacedAt(valid, "IsActive=\"true\"", 3, "IsActive=\"true\" IsActive=\"true\"")},
    };
    for (const StartingPoint& from : StartingPoints(valid)) {
        SCOPED_TRACE(from.label);
        ASSERT_EQ("accepted", WholeVerdict(from.bytes));
        for (const auto& row : rows) {
            SCOPED_TRACE(row.label);
            EXPECT_EQ(WholeVerdict(row.edited), EditedVerdict(from.bytes, row.edited));
        }
    }
}

// A valid document in which the n-th rule alone names its type with a
// prefix declared on `tag`.
std::string WithOwnPrefix(const std::string& valid, const std::string& tag, int n) {
    std::string own = ReplacedAt(
        valid, tag, 0, tag + " xmlns:p=\"" + std::string(kDocumentNamespaceNarrow) + "\"");
    const std::string type = "xsi:type=\"sv:";
    return own.replace(own.find(type, Nth(own, "<Rule ", n)), type.size(), "xsi:type=\"p:");
}

TEST(ValidateEditedPolicyDocument, RereadsTheItemsWhenTheirNamespacesChange) {
    const std::string valid = WrittenExample();
    for (const std::string tag : {"<sv:Policy", "<Rules"}) {
        SCOPED_TRACE(tag);
        const std::string own = WithOwnPrefix(valid, tag, 6);
        ASSERT_EQ("accepted", WholeVerdict(own));
        const std::string edited = ReplacedAt(own, "xmlns:p=\"", 0, "xmlns:p=\"urn:other");
        ASSERT_NE("accepted", WholeVerdict(edited));
        EXPECT_EQ(WholeVerdict(edited), EditedVerdict(own, edited));
    }
}

// Bytes deleted, copied from elsewhere or overwritten at random places.
std::string Mutated(const std::string& valid, std::mt19937& random) {
    constexpr std::size_t kLongestPart = 600;
    const std::string noise = "<>/\"'= a0\n";
    std::uniform_int_distribution<std::size_t> place(0, valid.size() - 1);
    std::uniform_int_distribution<std::size_t> length(1, kLongestPart);
    std::string edited = valid;
    switch (random() % 3) {
        case 0:
            return edited.erase(place(random), length(random));
        case 1: {
            const std::string part = valid.substr(place(random), length(random));
            return edited.insert(place(random), part);
        }
        default:
            edited[place(random)] = noise[random() % noise.size()];
            return edited;
    }
}

TEST(ValidateEditedPolicyDocument, NeverAcceptsWhatTheWholeReadRefuses) {
    constexpr int kEdits = 150;
    const std::string written = WrittenExample();
    for (const StartingPoint& from : StartingPoints(written)) {
        SCOPED_TRACE(from.label);
        std::mt19937 random(20261208);
        int refused = 0;
        for (int i = 0; i < kEdits; ++i) {
            const std::string edited = Mutated(written, random);
            const std::string whole = WholeVerdict(edited);
            ASSERT_EQ(whole, EditedVerdict(from.bytes, edited)) << "edit " << i << ":\n" << edited;
            refused += whole != "accepted";
        }
        EXPECT_GT(refused, kEdits / 2) << "the edits hardly ever break the document";
    }
}

TEST(ChangedPartOf, LeavesOutTheUntouchedItemsButTheFirstOfEachKind) {
    const std::string valid = WrittenExample();
    const auto read = [&](const std::string& edited) {
        const auto part = document::ChangedPartOf(ToBytes(valid), ToBytes(edited));
        return part ? std::optional<std::string>(Text(*part)) : std::nullopt;
    };
    const auto oneRule = read(ReplacedAt(valid, "IsActive=\"true\"", 5, "IsActive=\"false\""));
    ASSERT_TRUE(oneRule);
    EXPECT_EQ(2u, Count(*oneRule, "<Rule ")) << "the first rule and the changed one";
    EXPECT_EQ(1u, Count(*oneRule, "<ScheduleObject>"));
    EXPECT_EQ(1u, Count(*oneRule, "<ServiceObject>"));
    EXPECT_EQ(1u, Count(*oneRule, "<IpObject>"));
    EXPECT_EQ(Count(valid, "<Properties>"), Count(*oneRule, "<Properties>"));
    EXPECT_EQ(0u, Count(*oneRule, "\n    \n    ")) << "the white space of left-out items stays";

    const auto onlyProperties = read(ReplacedAt(valid, "<Version>", 0, "<Version>2"));
    ASSERT_TRUE(onlyProperties);
    EXPECT_EQ(1u, Count(*onlyProperties, "<Rule "));

    const auto twoEdits =
        read(ReplacedAt(ReplacedAt(valid, "IsActive=\"true\"", 2, "IsActive=\"false\""),
                        "IsActive=\"true\"", 6, "IsActive=\"false\""));
    ASSERT_TRUE(twoEdits);
    EXPECT_EQ(3u, Count(*twoEdits, "<Rule ")) << "not the rules between the two";

    const auto rulesTag = read(ReplacedAt(valid, "<Rules>", 0, "<Rules xmlns:a=\"urn:a\">"));
    ASSERT_TRUE(rulesTag);
    EXPECT_EQ(Count(valid, "<Rule "), Count(*rulesTag, "<Rule "));
    EXPECT_EQ(1u, Count(*rulesTag, "<IpObject>"));

    EXPECT_FALSE(read(ReplacedAt(valid, "xmlns:sv=\"", 0, "xmlns:a=\"urn:a\" xmlns:sv=\"")));
}

TEST(ChangedPartOf, FindsTheItemsOfAFileLaidOutOtherwise) {
    const std::string written = WrittenExample();
    const std::string other = OtherLayout(written);
    const auto& defaults = document::AttributeDefaultsOf(L"");
    const auto read = [&](const std::string& edited) {
        const auto part = document::ChangedPartOf(ToBytes(other), ToBytes(edited), defaults);
        return part ? std::optional<std::string>(Text(*part)) : std::nullopt;
    };
    ASSERT_NE(written, other);
    ASSERT_EQ(0u, Count(other, "IsActive='true'")) << "the defaults are left out";

    const auto unchanged = read(written);
    ASSERT_TRUE(unchanged);
    EXPECT_EQ(1u, Count(*unchanged, "<Rule ")) << "only the first rule";
    const auto oneRule = read(ReplacedAt(written, "IsActive=\"true\"", 5, "IsActive=\"false\""));
    ASSERT_TRUE(oneRule);
    EXPECT_EQ(2u, Count(*oneRule, "<Rule ")) << "the first rule and the changed one";
    const auto ruleRemoved = read(Without(written, Element(written, "<Rule ", "</Rule>", 3)));
    ASSERT_TRUE(ruleRemoved);
    EXPECT_EQ(1u, Count(*ruleRemoved, "<Rule ")) << "the rules after it are found again";

    const auto withoutDefaults = document::ChangedPartOf(ToBytes(other), ToBytes(written));
    ASSERT_TRUE(withoutDefaults);
    EXPECT_EQ(Count(written, "<Rule "), Count(Text(*withoutDefaults), "<Rule "))
        << "without the schema's defaults, no rule reads as it did";
}

}  // namespace
}  // namespace fwcommon::test
