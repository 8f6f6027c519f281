#include "document/MergedItems.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "document/DocumentLayout.h"

namespace fwcommon::document {
namespace {

constexpr std::string_view kRulesList = "Rules";
constexpr unsigned kBitsPerGroup = 7;
constexpr std::uint64_t kSevenBits = 0x7f;
constexpr std::uint64_t kContinuation = 0x80;
constexpr unsigned kMostLengthBytes = 10;  // 64 bits in groups of seven

// Digests the fields of one item, each as its kind, its length and its
// bytes, so that no two runs of fields give the same stream. The stream is
// gathered first and digested in one go, a word at a time; its buffer only
// grows, and is kept from item to item.
class DigestedFields : public MarkupFields {
public:
    explicit DigestedFields(std::string& buffer) : buffer_(buffer) {}

    void Field(Kind kind, std::string_view bytes) override {
        const std::size_t most = used_ + 1 + kMostLengthBytes + bytes.size();
        if (most > buffer_.size())
            buffer_.resize(std::max(most, 2 * buffer_.size()));
        // The kind, then the length in groups of seven bits, low first,
        // the last group without the continuation bit.
        char* out = buffer_.data() + used_;
        *out++ = static_cast<char>(kind);
        std::uint64_t length = bytes.size();
        while (length >= kContinuation) {
            *out++ = static_cast<char>((length & kSevenBits) | kContinuation);
            length >>= kBitsPerGroup;
        }
        *out++ = static_cast<char>(length);
        if (!bytes.empty())  // a number field has no bytes, and maybe no pointer
            std::memcpy(out, bytes.data(), bytes.size());
        used_ = static_cast<std::size_t>(out - buffer_.data()) + bytes.size();
    }

    Digest128 Finish() const {
        KeyedDigest digest;
        digest.Add(std::string_view(buffer_.data(), used_));
        return digest.Finish();
    }

private:
    std::string& buffer_;
    std::size_t used_ = 0;
};

// How the items of one list are read: the attribute defaults (none once
// the list's tag declares a namespace, which may bind the prefixes
// otherwise) and the number texts (of rules only).
struct ListReading {
    const OmittableAttributes* omittable = nullptr;
    const NumberTexts* numbers = nullptr;
};

ListReading ReadingOf(std::string_view listTag, std::string_view listName,
                      const std::optional<OmittableAttributes>& omittable,
                      const NumberTexts* ruleNumbers) {
    const auto tag = ReadStartTag(listTag);
    const bool declares = !tag || DeclaresNamespace(tag->attributes);
    ListReading reading;
    reading.omittable = declares || !omittable ? nullptr : &*omittable;
    reading.numbers = listName == kRulesList ? ruleNumbers : nullptr;
    return reading;
}

// The digest of one item; `buffer` is room for its fields, reused from
// item to item.
std::optional<Digest128> ItemDigest(std::string_view item, const ListReading& reading,
                                    std::string& buffer) {
    DigestedFields fields(buffer);
    if (!ReadMarkupFields(item, reading.omittable, reading.numbers, fields))
        return std::nullopt;
    return fields.Finish();
}

// The sets of digests that the items of each merged list may be found in.
using Candidates = std::vector<std::vector<const std::unordered_set<Digest128, Digest128Hash>*>>;

Candidates CandidatesFor(const std::vector<const SourceDigests*>& sources,
                         const std::vector<unsigned char>& merged, const Layout& layout) {
    Candidates candidates(layout.lists.size());
    const std::string_view prologue = PrologueOf(merged, layout);
    const std::string_view rootTag = RootTagOf(merged, layout);
    for (const SourceDigests* source : sources) {
        if (!SamePrologue(source->prologue, prologue) || !SameRootTag(source->rootTag, rootTag))
            continue;
        for (std::size_t i = 0; i < layout.lists.size(); ++i) {
            const ListTag& list = layout.lists[i];
            const std::string_view tag = BytesOf(merged, list.begin, list.end);
            for (const SourceDigests::List& held : source->lists) {
                if (SameListTag(held.tag, tag))
                    candidates[i].push_back(&held.items);
            }
        }
    }
    return candidates;
}

}  // namespace

const NumberTexts* RuleNumbersOf(const std::wstring& schemaPath) {
    static const NumberTexts kRuleNumbers{"Rule", {"RuleId", "OrderId"}};
    return schemaPath.empty() ? &kRuleNumbers : nullptr;
}

std::optional<SourceDigests> DigestSource(const std::vector<unsigned char>& valid,
                                          const std::vector<AttributeDefault>& defaults,
                                          const NumberTexts* ruleNumbers) {
    const auto layout = ReadLayout(valid);
    if (!layout)
        return std::nullopt;
    SourceDigests source;
    source.prologue = std::string(PrologueOf(valid, *layout));
    source.rootTag = std::string(RootTagOf(valid, *layout));
    const auto omittable = OmittableBelow(source.rootTag, defaults);
    std::vector<ListReading> readings;
    for (const ListTag& list : layout->lists) {
        const std::string_view tag = BytesOf(valid, list.begin, list.end);
        source.lists.push_back(SourceDigests::List{std::string(tag), {}});
        readings.push_back(ReadingOf(tag, list.name, omittable, ruleNumbers));
    }
    std::string buffer;
    for (const Item& item : layout->items) {
        const auto digest =
            ItemDigest(BytesOf(valid, item.begin, item.end), readings[item.list], buffer);
        if (digest)
            source.lists[item.list].items.insert(*digest);
    }
    return source;
}

std::optional<std::vector<unsigned char>> MergedPartOf(
    const std::vector<const SourceDigests*>& sources, const std::vector<unsigned char>& merged,
    const std::vector<AttributeDefault>& defaults, const NumberTexts* ruleNumbers) {
    const auto layout = ReadLayout(merged);
    if (!layout)
        return std::nullopt;
    const Candidates candidates = CandidatesFor(sources, merged, *layout);
    const auto omittable = OmittableBelow(RootTagOf(merged, *layout), defaults);
    std::vector<ListReading> readings;
    for (const ListTag& list : layout->lists) {
        readings.push_back(
            ReadingOf(BytesOf(merged, list.begin, list.end), list.name, omittable, ruleNumbers));
    }
    std::vector<bool> leftOut(layout->items.size(), false);
    std::string buffer;
    for (std::size_t i = 0; i < layout->items.size(); ++i) {
        const Item& item = layout->items[i];
        const auto& sets = candidates[item.list];
        if (sets.empty())
            continue;
        const auto digest =
            ItemDigest(BytesOf(merged, item.begin, item.end), readings[item.list], buffer);
        leftOut[i] = digest && std::any_of(sets.begin(), sets.end(), [&](const auto* set) {
                         return set->count(*digest) > 0;
                     });
    }
    KeepOneOfEachRun(*layout, leftOut);
    if (std::find(leftOut.begin(), leftOut.end(), true) == leftOut.end())
        return std::nullopt;
    return WithoutItems(merged, *layout, leftOut);
}

}  // namespace fwcommon::document
