// The check of an edited document gives the verdict of reading it whole.
// The input is the document an edit starts from, in whatever layout; when
// the library accepts it, it is written in the library's own layout (what
// the first edit of a file writes) and that is checked once as it is and
// once with a few bytes changed. Reading only what changed must accept and
// refuse exactly what the whole read does, with the same diagnostics.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <fwcommon/PolicyDocument.h>

#include "FuzzSupport.h"

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
        Fail(std::string("the check of the ") + what + " differs from the whole read",
             L"whole: " + whole + L"\nedited: " + part);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<unsigned char> valid = fwcommon::fuzz::ToBytes(data, size);
    const auto document = fwcommon::fuzz::TryParse(valid);
    if (!document)
        return 0;
    const std::vector<unsigned char> written = WritePolicyDocument(*document);
    ExpectWholeVerdict(valid, written, "written document");
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ExpectWholeVerdict(valid, Changed(written, std::hash<std::string_view>()(text)),
                       "changed document");
    return 0;
}
