#include "document/EncodingGuard.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace fwcommon::document {
namespace {

struct Signature {
    std::initializer_list<unsigned char> bytes;
    const wchar_t* name;
};

// Byte-order marks and the first bytes of "<?xml" in the encodings Xerces
// detects by themselves; the longer marks come before their prefixes.
const Signature kForeignStarts[] = {
    {{0x00, 0x00, 0xFE, 0xFF}, L"a UTF-32 byte-order mark"},
    {{0xFF, 0xFE, 0x00, 0x00}, L"a UTF-32 byte-order mark"},
    {{0xFE, 0xFF}, L"a UTF-16 byte-order mark"},
    {{0xFF, 0xFE}, L"a UTF-16 byte-order mark"},
    {{0x2B, 0x2F, 0x76}, L"a UTF-7 byte-order mark"},
    {{0xDD, 0x73, 0x66, 0x73}, L"a UTF-EBCDIC byte-order mark"},
    {{0x0E, 0xFE, 0xFF}, L"an SCSU byte-order mark"},
    {{0xFB, 0xEE, 0x28}, L"a BOCU-1 byte-order mark"},
    {{0x84, 0x31, 0x95, 0x33}, L"a GB 18030 byte-order mark"},
    {{0xF7, 0x64, 0x4C}, L"a UTF-1 byte-order mark"},
    {{0x00, 0x00, 0x00, 0x3C}, L"UTF-32 text"},
    {{0x3C, 0x00, 0x00, 0x00}, L"UTF-32 text"},
    {{0x00, 0x3C, 0x00, 0x3F}, L"UTF-16 text"},
    {{0x3C, 0x00, 0x3F, 0x00}, L"UTF-16 text"},
    {{0x4C, 0x6F, 0xA7, 0x94}, L"EBCDIC text"},
};

const unsigned char kUtf8Mark[] = {0xEF, 0xBB, 0xBF};

bool StartsWith(const std::vector<unsigned char>& bytes, std::size_t at,
                std::initializer_list<unsigned char> expected) {
    return bytes.size() - at >= expected.size() &&
           std::equal(expected.begin(), expected.end(), bytes.begin() + at);
}

bool IsSpace(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::wstring Widened(const std::string& ascii) {
    std::wstring wide;
    for (unsigned char c : ascii) {
        wide += c < 0x80 ? static_cast<wchar_t>(c) : L'?';
    }
    return wide;
}

bool EqualsIgnoringCase(const std::string& text, const char* expected) {
    return text.size() == std::strlen(expected) &&
           std::equal(text.begin(), text.end(), expected, [](char a, char b) {
               return (a >= 'a' && a <= 'z' ? a - 'a' + 'A' : a) == b;
           });
}

// Reads the pseudo-attributes of an XML declaration that starts at `at`
// ("<?xml" and white space). Stops at "?>" or at anything that is not
// name = quoted value; the parser reports a broken declaration itself.
class Declaration {
public:
    Declaration(const std::vector<unsigned char>& bytes, std::size_t at)
        : bytes_(bytes), at_(at + 5) {
        while (ReadPseudoAttribute()) {
        }
    }

    const std::string& version() const { return version_; }
    const std::string& encoding() const { return encoding_; }
    bool hasEncoding() const { return hasEncoding_; }

private:
    // Declarations are short; a longer one is broken anyway.
    static constexpr std::size_t kMaxValueLength = 64;

    void SkipSpace() {
        while (at_ < bytes_.size() && IsSpace(bytes_[at_])) {
            ++at_;
        }
    }

    bool ReadPseudoAttribute() {
        SkipSpace();
        std::string name;
        while (at_ < bytes_.size() && bytes_[at_] >= 'a' && bytes_[at_] <= 'z') {
            name += static_cast<char>(bytes_[at_++]);
        }
        SkipSpace();
        if (name.empty() || at_ >= bytes_.size() || bytes_[at_] != '=') {
            return false;
        }
        ++at_;
        SkipSpace();
        if (at_ >= bytes_.size() || (bytes_[at_] != '"' && bytes_[at_] != '\'')) {
            return false;
        }
        const unsigned char quote = bytes_[at_++];
        std::string value;
        while (at_ < bytes_.size() && bytes_[at_] != quote && value.size() <= kMaxValueLength) {
            value += static_cast<char>(bytes_[at_++]);
        }
        if (at_ >= bytes_.size() || bytes_[at_] != quote) {
            return false;
        }
        ++at_;
        if (name == "version") {
            version_ = value;
        } else if (name == "encoding") {
            encoding_ = value;
            hasEncoding_ = true;
        }
        return true;
    }

    const std::vector<unsigned char>& bytes_;
    std::size_t at_;
    std::string version_;
    std::string encoding_;
    bool hasEncoding_ = false;
};

std::optional<std::wstring> RefusedDeclaration(const std::vector<unsigned char>& bytes,
                                               std::size_t at) {
    const bool declared = StartsWith(bytes, at, {'<', '?', 'x', 'm', 'l'}) &&
                          bytes.size() > at + 5 && IsSpace(bytes[at + 5]);
    if (!declared) {
        return std::nullopt;
    }
    const Declaration declaration(bytes, at);
    if (declaration.hasEncoding() && !EqualsIgnoringCase(declaration.encoding(), "UTF-8")) {
        return L"a policy document must be encoded in UTF-8; this one declares the encoding \"" +
               Widened(declaration.encoding()) + L"\"";
    }
    if (!declaration.version().empty() && declaration.version() != "1.0") {
        return L"a policy document must be XML 1.0; this one declares version \"" +
               Widened(declaration.version()) + L"\"";
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::wstring> FindEncodingRefusal(const std::vector<unsigned char>& bytes) {
    if (StartsWith(bytes, 0, {kUtf8Mark[0], kUtf8Mark[1], kUtf8Mark[2]})) {
        return RefusedDeclaration(bytes, sizeof kUtf8Mark);
    }
    for (const Signature& signature : kForeignStarts) {
        if (StartsWith(bytes, 0, signature.bytes)) {
            return std::wstring(
                       L"a policy document must be encoded in UTF-8; this one starts with ") +
                   signature.name;
        }
    }
    return RefusedDeclaration(bytes, 0);
}

}  // namespace fwcommon::document
