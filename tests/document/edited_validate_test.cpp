// The check of an edited document reads only what the edit changed; its
// verdict and its diagnostics must be those of reading the whole document,
// whatever the edit did to the bytes.

#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/PolicyDocument.h>
#include "common/TestFiles.h"
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
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(WholeVerdict(row.edited), EditedVerdict(valid, row.edited));
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
    const std::string valid = WrittenExample();
    std::mt19937 random(20261208);
    int refused = 0;
    for (int i = 0; i < kEdits; ++i) {
        const std::string edited = Mutated(valid, random);
        const std::string whole = WholeVerdict(edited);
        ASSERT_EQ(whole, EditedVerdict(valid, edited)) << "edit " << i << ":\n" << edited;
        refused += whole != "accepted";
    }
    EXPECT_GT(refused, kEdits / 2) << "the edits hardly ever break the document";
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

    // Rewritten in another layout, no item is left as it was: the caller
    // reads the edited bytes themselves, not a copy of them.
    std::string reindented = valid;
    for (std::size_t at = reindented.find('\n', reindented.find("<sv:Policy"));
         at != std::string::npos; at = reindented.find('\n', at + 2))
        reindented.insert(at + 1, " ");
    EXPECT_FALSE(read(reindented));

    EXPECT_FALSE(read(InsertedAfter(valid, "</Rule>", 0, "<!-- note -->")));
    EXPECT_FALSE(read(ReplacedAt(valid, "xmlns:sv=\"", 0, "xmlns:a=\"urn:a\" xmlns:sv=\"")));
}

}  // namespace
}  // namespace fwcommon::test
