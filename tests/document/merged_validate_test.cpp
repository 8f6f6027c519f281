// The check of a merged document leaves out the items its sources hold,
// rules also when the merge gave them other numbers; its verdict and its
// diagnostics must be those of reading the whole document.

#include <optional>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/PolicyDocument.h>
#include "common/TestFiles.h"
#include "document/AttributeDefaults.h"
#include "document/EditedText.h"
#include "document/KeyedDigest.h"
#include "document/MergedItems.h"

namespace fwcommon::test {
namespace {

// The document with every rule's RuleId and OrderId moved on by `by`, as a
// merge numbers the rules of a later file.
std::string Renumbered(const std::string& text, long by) {
    static const std::regex kNumber("<(RuleId|OrderId)>([0-9]+)</");
    std::string out;
    auto last = text.cbegin();
    for (std::sregex_iterator m(text.begin(), text.end(), kNumber), end; m != end; ++m) {
        out.append(last, (*m)[0].first);
        out += "<" + (*m)[1].str() + ">" + std::to_string(std::stol((*m)[2]) + by) + "</";
        last = (*m)[0].second;
    }
    return out.append(last, text.cend());
}

std::vector<PolicyDocumentDigest> Digests(const std::vector<std::string>& sources) {
    std::vector<PolicyDocumentDigest> digests;
    for (const std::string& source : sources)
        digests.emplace_back(ToBytes(source));
    return digests;
}

std::string MergedVerdict(const std::vector<PolicyDocumentDigest>& sources,
                          const std::string& merged) {
    return ErrorOf([&] { ValidateMergedPolicyDocument(sources, ToBytes(merged)); });
}

// The sources a merge may have read: files as the library writes them, or
// laid out otherwise.
struct Sources {
    const char* label;
    std::vector<std::string> files;
};

std::vector<Sources> SourceSets(const std::string& written) {
    const std::string other = OtherLayout(written);
    return {{"the written file", {written}},
            {"a file laid out otherwise", {other}},
            {"both", {other, written}}};
}

TEST(ValidateMergedPolicyDocument, GivesTheWholeReadsVerdictForEachKindOfChange) {
    const std::string written = WrittenExample();
    const std::string merged = Renumbered(written, 1000);
    const struct {
        const char* label;
        std::string merged;
    } rows[] = {
        {"renumbered", merged},
        {"as written", written},
        {"a RuleId that is no number", ReplacedAt(merged, "<RuleId>", 3, "<RuleId>x")},
        {"an OrderId beyond 64 bits",
         ReplacedAt(merged, "<OrderId>", 2, "<OrderId>99999999999999999999")},
        {"the lowest RuleId", ReplacedAt(merged, "<RuleId>", 4, "<RuleId>-9223372036854775808<")},
        {"a RuleId with a sign", ReplacedAt(merged, "<RuleId>", 4, "<RuleId>+")},
        {"a RuleId with white space", ReplacedAt(merged, "<RuleId>", 4, "<RuleId> ")},
        {"an empty OrderId",
         std::regex_replace(merged, std::regex("<OrderId>[0-9]+</OrderId>"), "<OrderId/>",
                            std::regex_constants::format_first_only)},
        {"a RuleId twice", ReplacedAt(merged, "<RuleId>", 5, "<RuleId>7</RuleId><RuleId>")},
        {"a rule's name that is a number", ReplacedAt(merged, "<Name>", 20, "<Name>12")},
        {"an object's Id that is no number", ReplacedAt(merged, "<Id>", 2, "<Id>x")},
        {"a rule switched to a bad value",
         ReplacedAt(merged, "IsActive=\"true\"", 3, "IsActive=\"maybe\"")},
        {"a rule of a type unknown", ReplacedAt(merged, "xsi:type=\"sv:", 9, "xsi:type=\"sv:X")},
        {"a rule among the options",
         InsertedAfter(merged, "<Options>", 0, Element(merged, "<Rule ", "</Rule>", 2))},
    };
    for (const Sources& sources : SourceSets(written)) {
        SCOPED_TRACE(sources.label);
        const auto digests = Digests(sources.files);
        for (const auto& row : rows) {
            SCOPED_TRACE(row.label);
            EXPECT_EQ(WholeVerdict(row.merged), MergedVerdict(digests, row.merged));
        }
    }
    // The rows' edits hit rules that the merge renumbered.
    EXPECT_NE(Element(written, "<Rule ", "</Rule>", 3), Element(merged, "<Rule ", "</Rule>", 3));
}

TEST(ValidateMergedPolicyDocument, NeverAcceptsWhatTheWholeReadRefuses) {
    constexpr int kChanges = 150;
    const std::string written = WrittenExample();
    const std::string merged = Renumbered(written, 70000);
    const auto digests = Digests({OtherLayout(written), written});
    std::mt19937 random(20261210);
    int refused = 0;
    for (int i = 0; i < kChanges; ++i) {
        const std::string changed = Mutated(merged, random);
        const std::string whole = WholeVerdict(changed);
        ASSERT_EQ(whole, MergedVerdict(digests, changed)) << "change " << i << ":\n" << changed;
        refused += whole != "accepted";
    }
    EXPECT_GT(refused, kChanges / 2) << "the changes hardly ever break the document";
}

TEST(ValidateMergedPolicyDocument, RereadsTheRulesWhenTheirNamespacesChange) {
    const std::string written = WrittenExample();
    for (const std::string tag : {"<sv:Policy", "<Rules"}) {
        SCOPED_TRACE(tag);
        const std::string own = WithOwnPrefix(written, tag, 6);
        ASSERT_EQ("accepted", WholeVerdict(own));
        const std::string merged =
            Renumbered(ReplacedAt(own, "xmlns:p=\"", 0, "xmlns:p=\"urn:other"), 1000);
        ASSERT_NE("accepted", WholeVerdict(merged));
        EXPECT_EQ(WholeVerdict(merged), MergedVerdict(Digests({own}), merged));
    }
}

TEST(ValidateMergedPolicyDocument, KeepsTheNumberOfARuleIdOfANarrowerType) {
    const std::string typed =
        "<RuleId xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
        "xsi:type=\"xs:int\">";
    const std::string source = ReplacedAt(WrittenExample(), "<RuleId>", 2, typed);
    ASSERT_EQ("accepted", WholeVerdict(source));
    const std::string merged = ReplacedAt(source, typed, 0, typed + "99999");
    ASSERT_NE("accepted", WholeVerdict(merged)) << "beyond the range of xs:int";
    EXPECT_EQ(WholeVerdict(merged), MergedVerdict(Digests({source}), merged));
}

// What MergedPartOf leaves of a merged document, or nothing.
std::optional<std::string> PartOf(const std::vector<std::string>& sources,
                                  const std::string& merged, bool rulesRenumbered = true) {
    const auto& defaults = document::AttributeDefaultsOf(L"");
    const document::NumberTexts* numbers = rulesRenumbered ? document::RuleNumbersOf(L"") : nullptr;
    std::vector<document::SourceDigests> digests;
    for (const std::string& source : sources)
        digests.push_back(*document::DigestSource(ToBytes(source), defaults, numbers));
    std::vector<const document::SourceDigests*> pointers;
    for (const auto& digest : digests)
        pointers.push_back(&digest);
    const auto part = document::MergedPartOf(pointers, ToBytes(merged), defaults, numbers);
    return part ? std::optional<std::string>(Text(*part)) : std::nullopt;
}

TEST(MergedPartOf, LeavesOutTheRulesTheSourcesHoldWithOtherNumbers) {
    const std::string written = WrittenExample();
    const std::string other = OtherLayout(written);
    const std::string merged = Renumbered(written, 1000);
    for (const auto& source : {written, other}) {
        const auto part = PartOf({source}, merged);
        ASSERT_TRUE(part);
        EXPECT_EQ(1u, Count(*part, "<Rule ")) << "only one rule";
        EXPECT_EQ(1u, Count(*part, "<IpObject>"));
        EXPECT_EQ(Count(merged, "<Properties>"), Count(*part, "<Properties>"));
    }
    const auto renamed = PartOf({other}, ReplacedAt(merged, "<Name>", 20, "<Name>Renamed "));
    ASSERT_TRUE(renamed);
    EXPECT_EQ(1u, Count(*renamed, "<Rule ")) << "only the renamed rule";
    EXPECT_EQ(1u, Count(*renamed, "<Name>Renamed "));

    const auto objectRenumbered = PartOf({written}, ReplacedAt(merged, "<Id>", 3, "<Id>9"));
    ASSERT_TRUE(objectRenumbered);
    EXPECT_EQ(1u, Count(*objectRenumbered, "<Id>9"))
        << "an object's Id is not one of the numbers a merge gives anew";

    const auto otherSchema = PartOf({written}, merged, false);
    ASSERT_TRUE(otherSchema) << "the named objects are left out";
    EXPECT_EQ(Count(merged, "<Rule "), Count(*otherSchema, "<Rule "))
        << "without the rules' numbers, every rule reads otherwise";
    const auto otherPrefix =
        ReplacedAt(ReplacedAt(written, "xmlns:sv=", 0, "xmlns:p="), "<sv:Policy", 0, "<p:Policy");
    EXPECT_FALSE(PartOf({std::regex_replace(otherPrefix, std::regex("sv:"), "p:")}, merged))
        << "a source whose root binds other prefixes lends no items";
}

TEST(KeyedDigest, GivesTheKnownDigestsAndOneForTheBytesHoweverGiven) {
    document::DigestKey key;
    key.k0 = 0x0706050403020100ULL;  // the key 00 01 ... 0f
    key.k1 = 0x0f0e0d0c0b0a0908ULL;
    document::KeyedDigest empty(key);
    const document::Digest128 none = empty.Finish();
    EXPECT_EQ(0xe6a825ba047f81a3ULL, none.low);
    EXPECT_EQ(0x930255c71472f66dULL, none.high);

    std::string message;
    for (int i = 0; i < 63; ++i)
        message.push_back(static_cast<char>(i));
    document::KeyedDigest whole(key);
    whole.Add(message);
    const document::Digest128 once = whole.Finish();
    for (const std::size_t split : {1u, 7u, 8u, 9u, 40u}) {
        document::KeyedDigest parts(key);
        parts.Add(message.substr(0, split));
        parts.Add(message.substr(split));
        EXPECT_TRUE(parts.Finish() == once) << "split at " << split;
    }
    document::DigestKey other = key;
    other.k1 ^= 1;
    document::KeyedDigest underOther(other);
    underOther.Add(message);
    EXPECT_FALSE(underOther.Finish() == once);
}

}  // namespace
}  // namespace fwcommon::test
