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
#include "document/EditedText.h"
#include "document/MarkupLimits.h"

namespace fwcommon::test {
namespace {

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

// The shortest of the elements from open to close in text.
std::string Shortest(const std::string& text, const std::string& open, const std::string& close) {
    std::string shortest;
    for (std::size_t i = 0; i < Count(text, open); ++i) {
        const std::string element = Element(text, open, close, i);
        if (shortest.empty() || element.size() < shortest.size())
            shortest = element;
    }
    return shortest;
}

TEST(ChangedPartOf, LeavesOutTheUntouchedItemsButTheShortestOfEachRun) {
    const std::string valid = WrittenExample();
    const auto read = [&](const std::string& edited) {
        const auto part = document::ChangedPartOf(ToBytes(valid), ToBytes(edited));
        return part ? std::optional<std::string>(Text(*part)) : std::nullopt;
    };
    const auto oneRule = read(ReplacedAt(valid, "IsActive=\"true\"", 5, "IsActive=\"false\""));
    ASSERT_TRUE(oneRule);
    EXPECT_EQ(1u, Count(*oneRule, "<Rule ")) << "the changed rule keeps the rules in view";
    EXPECT_EQ(1u, Count(*oneRule, "<ScheduleObject>"));
    EXPECT_EQ(1u, Count(*oneRule, "<ServiceObject>"));
    EXPECT_EQ(1u, Count(*oneRule, "<IpObject>"));
    const std::string shortest = Shortest(valid, "<IpObject>", "</IpObject>");
    ASSERT_NE(shortest, Element(valid, "<IpObject>", "</IpObject>", 0));
    EXPECT_EQ(1u, Count(*oneRule, shortest)) << "not the first, which may be the largest";
    EXPECT_EQ(Count(valid, "<Properties>"), Count(*oneRule, "<Properties>"));
    EXPECT_EQ(0u, Count(*oneRule, "\n    \n    ")) << "the white space of left-out items stays";

    const auto onlyProperties = read(ReplacedAt(valid, "<Version>", 0, "<Version>2"));
    ASSERT_TRUE(onlyProperties);
    EXPECT_EQ(1u, Count(*onlyProperties, "<Rule "));

    const auto twoEdits =
        read(ReplacedAt(ReplacedAt(valid, "IsActive=\"true\"", 2, "IsActive=\"false\""),
                        "IsActive=\"true\"", 6, "IsActive=\"false\""));
    ASSERT_TRUE(twoEdits);
    EXPECT_EQ(2u, Count(*twoEdits, "<Rule ")) << "not the rules between the two";

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
    EXPECT_EQ(1u, Count(*unchanged, "<Rule ")) << "only the shortest rule";
    const auto oneRule = read(ReplacedAt(written, "IsActive=\"true\"", 5, "IsActive=\"false\""));
    ASSERT_TRUE(oneRule);
    EXPECT_EQ(1u, Count(*oneRule, "<Rule ")) << "only the changed rule";
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
