// The checks of an edited and of a merged document give the verdict of
// reading them whole. The input is the document an edit or a merge starts
// from, in whatever layout; when the library accepts it, it is written in
// the library's own layout (what the first edit of a file writes) and that
// is checked once as it is and once with a few bytes changed; the merge's
// check also sees the document with its rules numbered anew, as a merge
// numbers a later file's rules. Reading only what changed must accept and
// refuse exactly what the whole read does, with the same diagnostics.
// Under the merged check, the layout read that reads each item once must
// find the items the layout read alone finds, with the fields a read of
// each item's own bytes gives; that holds for any bytes, valid or not.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <fwcommon/PolicyDocument.h>

#include "FuzzSupport.h"
#include "document/DocumentLayout.h"
#include "document/SameMarkup.h"

namespace {

using namespace fwcommon;
using fwcommon::fuzz::Fail;

template <typename Check>
std::wstring VerdictOf(Check check) {
    try {
        check();
    } catch (const xml_schema::exception& e) {
        std::wostringstream text;
        text << e;
        return text.str();
    }
    return L"accepted";
}

// Some bytes deleted, copied from elsewhere or overwritten, chosen by the
// document itself so that every input stays one test.
std::vector<unsigned char> Changed(std::vector<unsigned char> bytes, std::size_t seed) {
    constexpr std::size_t kLongestPart = 300;
    const std::string_view noise = "<>/\"'= a0\n";
    std::mt19937 random(static_cast<std::mt19937::result_type>(seed));
    std::uniform_int_distribution<std::size_t> place(0, bytes.size() - 1);
    std::uniform_int_distribution<std::size_t> length(1, kLongestPart);
    const std::size_t at = place(random);
    const std::size_t count = std::min(length(random), bytes.size() - at);
    switch (random() % 3) {
        case 0:
            bytes.erase(bytes.begin() + at, bytes.begin() + at + count);
            break;
        case 1: {
            const std::vector<unsigned char> part(bytes.begin() + at, bytes.begin() + at + count);
            bytes.insert(bytes.begin() + place(random), part.begin(), part.end());
            break;
        }
        default:
            bytes[at] = noise[random() % noise.size()];
    }
    return bytes;
}

void ExpectWholeVerdict(const std::vector<unsigned char>& valid,
                        const std::vector<unsigned char>& edited, const char* what) {
    const std::wstring whole = VerdictOf([&] { ValidatePolicyDocument(edited); });
    const std::wstring part = VerdictOf([&] { ValidateEditedPolicyDocument(valid, edited); });
    if (whole != part)
        Fail(std::string("the check of the edited ") + what + " differs from the whole read",
             L"whole: " + whole + L"\nedited: " + part);
    const std::vector<PolicyDocumentDigest> sources{PolicyDocumentDigest(valid)};
    const std::wstring merged = VerdictOf([&] { ValidateMergedPolicyDocument(sources, edited); });
    if (whole != merged)
        Fail(std::string("the check of the merged ") + what + " differs from the whole read",
             L"whole: " + whole + L"\nmerged: " + merged);
}

// The fields of a piece, one string each: kind and bytes.
class RecordedFields : public document::MarkupFields {
public:
    void Field(Kind kind, std::string_view bytes) override {
        fields.push_back(static_cast<char>(kind) + std::string(bytes));
    }
    std::vector<std::string> fields;
};

bool SameItems(const document::Layout& a, const document::Layout& b) {
    const auto same = [](const document::Item& x, const document::Item& y) {
        return x.begin == y.begin && x.end == y.end && x.list == y.list && x.name == y.name;
    };
    return a.rootBegin == b.rootBegin && a.rootTagEnd == b.rootTagEnd &&
           a.lists.size() == b.lists.size() &&
           std::equal(a.items.begin(), a.items.end(), b.items.begin(), b.items.end(), same);
}

void ExpectOneLayout(const std::vector<unsigned char>& bytes) {
    const document::NumberTexts numbers{"Rule", {"RuleId", "OrderId"}};
    std::vector<std::optional<std::vector<std::string>>> read;
    const document::ItemReader reader = [&](const document::Layout& sofar, std::string_view rest) {
        RecordedFields fields;
        const auto end = document::ReadElementFields(rest, nullptr, &numbers, fields);
        read.resize(sofar.items.size() + 1);
        if (end)
            read.back() = fields.fields;
        return end;
    };
    const auto plain = document::ReadLayout(bytes);
    const auto withReader = document::ReadLayout(bytes, reader);
    if (plain.has_value() != withReader.has_value() || (plain && !SameItems(*plain, *withReader)))
        Fail("the layout read with an item reader finds other items");
    if (!plain)
        return;
    for (std::size_t i = 0; i < plain->items.size(); ++i) {
        const document::Item& item = plain->items[i];
        RecordedFields fields;
        const bool readable = document::ReadMarkupFields(
            document::BytesOf(bytes, item.begin, item.end), nullptr, &numbers, fields);
        const bool readWhole = i < read.size() && read[i].has_value();
        if (readable != readWhole || (readable && fields.fields != *read[i]))
            Fail("an item read with the layout reads otherwise than its own bytes");
    }
}

// The document written with every rule's identifier and order id moved on.
std::vector<unsigned char> Renumbered(Sarvo::PolicyType& document) {
    constexpr long long kMergeOffset = 1000003;
    constexpr long long kHighest = std::numeric_limits<long long>::max();
    for (Sarvo::Rule& rule : document.Rules().Rule()) {
        if (rule.RuleId() <= kHighest - kMergeOffset)
            rule.RuleId(rule.RuleId() + kMergeOffset);
        if (rule.OrderId() >= -kHighest + kMergeOffset)
            rule.OrderId(rule.OrderId() - kMergeOffset);
    }
    return WritePolicyDocument(document);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<unsigned char> valid = fwcommon::fuzz::ToBytes(data, size);
    ExpectOneLayout(valid);
    const auto document = fwcommon::fuzz::TryParse(valid);
    if (!document)
        return 0;
    const std::vector<unsigned char> written = WritePolicyDocument(*document);
    ExpectWholeVerdict(valid, written, "written document");
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::size_t seed = std::hash<std::string_view>()(text);
    ExpectWholeVerdict(valid, Changed(written, seed), "changed document");
    ExpectOneLayout(Changed(written, seed));
    const std::vector<unsigned char> renumbered = Renumbered(*document);
    ExpectWholeVerdict(valid, renumbered, "renumbered document");
    ExpectWholeVerdict(valid, Changed(renumbered, seed), "renumbered and changed document");
    return 0;
}
