#include "document/MergedItems.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string_view>
#include <utility>

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

// The sets of digests that the items of one merged list may be found in.
using Candidates = std::vector<const std::unordered_set<Digest128, Digest128Hash>*>;

// Digests the items of a document while its layout is read, each in the
// same read that finds where it ends. `wanted` says for a list (given the
// layout so far and the list's index) whether its items are digested.
class ItemDigester {
public:
    using Wanted = std::function<bool(const Layout& sofar, std::size_t list)>;

    ItemDigester(const std::vector<unsigned char>& bytes,
                 const std::vector<AttributeDefault>& defaults, const NumberTexts* ruleNumbers,
                 Wanted wanted)
        : bytes_(bytes),
          defaults_(defaults),
          ruleNumbers_(ruleNumbers),
          wanted_(std::move(wanted)) {}

    std::optional<std::size_t> operator()(const Layout& sofar, std::string_view rest) {
        const ListReading* reading = ReadingFor(sofar);
        if (reading == nullptr)
            return std::nullopt;
        DigestedFields fields(buffer_);
        const auto end = ReadElementFields(rest, reading->omittable, reading->numbers, fields);
        if (end) {
            digests_.resize(sofar.items.size() + 1);
            digests_.back() = fields.Finish();
        }
        return end;
    }

    // The digest of the i-th item, when it was read so.
    std::optional<Digest128> Of(std::size_t item) const {
        return item < digests_.size() ? digests_[item] : std::nullopt;
    }

private:
    // How the items of the last list of `sofar` are read; null when they
    // are not digested.
    const ListReading* ReadingFor(const Layout& sofar) {
        const std::size_t list = sofar.lists.size() - 1;
        if (readings_.empty())  // the first list: the root tag is read by now
            omittable_ = OmittableBelow(RootTagOf(bytes_, sofar), defaults_);
        while (readings_.size() <= list) {
            const ListTag& tag = sofar.lists[readings_.size()];
            const bool wanted = wanted_(sofar, readings_.size());
            readings_.push_back(
                wanted ? std::optional<ListReading>(ReadingOf(BytesOf(bytes_, tag.begin, tag.end),
                                                              tag.name, omittable_, ruleNumbers_))
                       : std::nullopt);
        }
        return readings_[list] ? &*readings_[list] : nullptr;
    }

    const std::vector<unsigned char>& bytes_;
    const std::vector<AttributeDefault>& defaults_;
    const NumberTexts* ruleNumbers_;
    Wanted wanted_;
    std::optional<OmittableAttributes> omittable_;  // read with the first list
    std::vector<std::optional<ListReading>> readings_;
    std::vector<std::optional<Digest128>> digests_;
    std::string buffer_;  // the fields of one item, reused from item to item
};

// The sets of the sources that hold items of a list of `sofar`, a layout
// of the merged document: below the same prologue and root start tag,
// under a list whose start tag reads the same.
Candidates CandidatesFor(const std::vector<const SourceDigests*>& sources,
                         const std::vector<unsigned char>& merged, const Layout& sofar,
                         std::size_t listIndex) {
    Candidates candidates;
    const std::string_view prologue = PrologueOf(merged, sofar);
    const std::string_view rootTag = RootTagOf(merged, sofar);
    const ListTag& list = sofar.lists[listIndex];
    const std::string_view tag = BytesOf(merged, list.begin, list.end);
    for (const SourceDigests* source : sources) {
        if (!SamePrologue(source->prologue, prologue) || !SameRootTag(source->rootTag, rootTag))
            continue;
        for (const SourceDigests::List& held : source->lists) {
            if (SameListTag(held.tag, tag))
                candidates.push_back(&held.items);
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
    ItemDigester digester(valid, defaults, ruleNumbers,
                          [](const Layout&, std::size_t) { return true; });
    const auto layout = ReadLayout(valid, std::ref(digester));
    if (!layout)
        return std::nullopt;
    SourceDigests source;
    source.prologue = std::string(PrologueOf(valid, *layout));
    source.rootTag = std::string(RootTagOf(valid, *layout));
    for (const ListTag& list : layout->lists)
        source.lists.push_back(
            SourceDigests::List{std::string(BytesOf(valid, list.begin, list.end)), {}});
    for (std::size_t i = 0; i < layout->items.size(); ++i) {
        if (const auto digest = digester.Of(i))
            source.lists[layout->items[i].list].items.insert(*digest);
    }
    return source;
}

std::optional<std::vector<unsigned char>> MergedPartOf(
    const std::vector<const SourceDigests*>& sources, const std::vector<unsigned char>& merged,
    const std::vector<AttributeDefault>& defaults, const NumberTexts* ruleNumbers) {
    std::vector<Candidates> candidates;  // by list
    const auto wanted = [&](const Layout& sofar, std::size_t list) {
        candidates.resize(std::max(candidates.size(), list + 1));
        candidates[list] = CandidatesFor(sources, merged, sofar, list);
        return !candidates[list].empty();
    };
    ItemDigester digester(merged, defaults, ruleNumbers, wanted);
    const auto layout = ReadLayout(merged, std::ref(digester));
    if (!layout)
        return std::nullopt;
    std::vector<bool> leftOut(layout->items.size(), false);
    for (std::size_t i = 0; i < layout->items.size(); ++i) {
        const auto digest = digester.Of(i);
        if (!digest)  // not read, or in a list no source holds
            continue;
        const Candidates& sets = candidates[layout->items[i].list];
        leftOut[i] = std::any_of(sets.begin(), sets.end(),
                                 [&](const auto* set) { return set->count(*digest) > 0; });
    }
    KeepOneOfEachRun(*layout, leftOut);
    if (std::find(leftOut.begin(), leftOut.end(), true) == leftOut.end())
        return std::nullopt;
    return WithoutItems(merged, *layout, leftOut);
}

}  // namespace fwcommon::document
