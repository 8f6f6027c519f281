#include "document/Utf8Guard.h"

#include <cstdint>
#include <cstring>
#include <cwchar>

namespace fwcommon::document {
namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
constexpr unsigned char kFirstContinuation = 0x80;
constexpr unsigned char kLastContinuation = 0xBF;

// What a lead byte asks of the bytes after it: how many follow, and the
// range the first of them must lie in (narrower than a continuation byte's
// where a wider range would give an overlong form, a surrogate or a value
// above U+10FFFF).
struct Lead {
    std::size_t following = 0;
    unsigned char low = kFirstContinuation;
    unsigned char high = kLastContinuation;
    bool valid = false;
};

Lead LeadOf(unsigned char byte) {
    if (byte < 0x80)
        return Lead{0, 0, 0, true};
    if (byte >= 0xC2 && byte <= 0xDF)
        return Lead{1, kFirstContinuation, kLastContinuation, true};
    if (byte == 0xE0)
        return Lead{2, 0xA0, kLastContinuation, true};
    if (byte == 0xED)
        return Lead{2, kFirstContinuation, 0x9F, true};
    if (byte >= 0xE1 && byte <= 0xEF)
        return Lead{2, kFirstContinuation, kLastContinuation, true};
    if (byte == 0xF0)
        return Lead{3, 0x90, kLastContinuation, true};
    if (byte >= 0xF1 && byte <= 0xF3)
        return Lead{3, kFirstContinuation, kLastContinuation, true};
    if (byte == 0xF4)
        return Lead{3, kFirstContinuation, 0x8F, true};
    return Lead{};  // a continuation byte, 0xC0, 0xC1 or 0xF5 and above
}

// How many bytes from `at` form one character; 0 when they form none, and
// then `read` tells how many bytes it took to see so.
std::size_t SequenceAt(const std::vector<unsigned char>& bytes, std::size_t at, std::size_t& read) {
    const Lead lead = LeadOf(bytes[at]);
    read = 1;
    if (!lead.valid)
        return 0;
    for (std::size_t k = 1; k <= lead.following; ++k) {
        if (at + k >= bytes.size())
            return 0;
        const unsigned char byte = bytes[at + k];
        const unsigned char low = k == 1 ? lead.low : kFirstContinuation;
        const unsigned char high = k == 1 ? lead.high : kLastContinuation;
        read = k + 1;
        if (byte < low || byte > high)
            return 0;
    }
    return lead.following + 1;
}

// Where the first malformed sequence starts, bytes.size() when there is none.
std::size_t FirstMalformed(const std::vector<unsigned char>& bytes, std::size_t& read) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        // Nearly all of a policy is ASCII: eight bytes at a time.
        std::uint64_t word = 0;
        if (bytes.size() - at >= sizeof word) {
            std::memcpy(&word, bytes.data() + at, sizeof word);
            if ((word & kHighBits) == 0) {
                at += sizeof word;
                continue;
            }
        }
        const std::size_t length = SequenceAt(bytes, at, read);
        if (length == 0)
            return at;
        at += length;
    }
    return bytes.size();
}

std::wstring Hex(unsigned char byte) {
    wchar_t text[sizeof L"0xFF" / sizeof(wchar_t)];
    std::swprintf(text, sizeof text / sizeof text[0], L"0x%02X", static_cast<unsigned>(byte));
    return text;
}

std::wstring MessageFor(const std::vector<unsigned char>& bytes, std::size_t at, std::size_t read) {
    std::wstring named;
    for (std::size_t k = 0; k < read; ++k)
        named += (k == 0 ? L"" : L" ") + Hex(bytes[at + k]);
    const Lead lead = LeadOf(bytes[at]);
    const bool cutShort = at + read == bytes.size() && lead.valid && read <= lead.following;
    std::wstring message = (read == 1 ? L"the byte " : L"the bytes ") + named +
                           (read == 1 ? L" is" : L" are") + L" not valid UTF-8";
    if (cutShort)
        message += L" (the document ends inside a character)";
    return message + L"; a policy document must be encoded in UTF-8";
}

}  // namespace

std::optional<Utf8Fault> FindInvalidUtf8(const std::vector<unsigned char>& bytes) {
    std::size_t read = 0;
    const std::size_t at = FirstMalformed(bytes, read);
    if (at == bytes.size())
        return std::nullopt;
    // What precedes the fault is well-formed: its columns count characters.
    return Utf8Fault{PositionOf(bytes, at, Columns::kCharacters), MessageFor(bytes, at, read)};
}

}  // namespace fwcommon::document
