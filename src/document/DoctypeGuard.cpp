#include "document/DoctypeGuard.h"

#include <cstring>

namespace fwcommon::document {
namespace {

class PrologCursor {
public:
    explicit PrologCursor(const std::vector<unsigned char>& bytes) : bytes_(bytes) {
        static const unsigned char bom[] = {0xEF, 0xBB, 0xBF};
        if (StartsWith(reinterpret_cast<const char*>(bom), 3)) {
            at_ = 3;
        }
    }

    bool StartsWith(const char* text) const { return StartsWith(text, std::strlen(text)); }

    // Moves past everything up to and including `terminator`; false when
    // the bytes end first.
    bool SkipPast(const char* terminator) {
        const std::size_t length = std::strlen(terminator);
        while (at_ < bytes_.size()) {
            if (StartsWith(terminator, length)) {
                Advance(length);
                return true;
            }
            Advance(1);
        }
        return false;
    }

    void SkipWhiteSpace() {
        while (at_ < bytes_.size() && (bytes_[at_] == ' ' || bytes_[at_] == '\t' ||
                                       bytes_[at_] == '\r' || bytes_[at_] == '\n')) {
            Advance(1);
        }
    }

    TextPosition Position() const { return {line_, column_}; }

private:
    bool StartsWith(const char* text, std::size_t length) const {
        return bytes_.size() - at_ >= length && std::memcmp(&bytes_[at_], text, length) == 0;
    }

    void Advance(std::size_t count) {
        for (; count > 0 && at_ < bytes_.size(); --count, ++at_) {
            if (bytes_[at_] == '\n') {
                ++line_;
                column_ = 1;
            } else if ((bytes_[at_] & 0xC0) != 0x80) {
                ++column_;
            }
        }
    }

    const std::vector<unsigned char>& bytes_;
    std::size_t at_ = 0;
    unsigned long line_ = 1;
    unsigned long column_ = 1;
};

}  // namespace

std::optional<TextPosition> FindDoctype(const std::vector<unsigned char>& bytes) {
    PrologCursor cursor(bytes);
    for (;;) {
        cursor.SkipWhiteSpace();
        if (cursor.StartsWith("<!DOCTYPE")) {
            return cursor.Position();
        }
        const bool skipped = (cursor.StartsWith("<?") && cursor.SkipPast("?>")) ||
                             (cursor.StartsWith("<!--") && cursor.SkipPast("-->"));
        if (!skipped) {
            return std::nullopt;
        }
    }
}

}  // namespace fwcommon::document
