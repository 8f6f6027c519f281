#include "fileio/StreamingMarkupCheck.h"

#include <cstring>
#include <stdexcept>

namespace fwpolicy {
namespace {

// The library's bounds, as its public headers state them.
constexpr std::size_t kMaxElementDepth = 256;
constexpr std::size_t kMaxAttributes = 1024;
constexpr std::size_t kMaxTextLength = 1048576;

constexpr char kCommentStart[] = "--";
constexpr char kCdataStart[] = "[CDATA[";

bool StartsCharacter(unsigned char byte) {
    return (byte & 0xC0) != 0x80;
}

bool IsPrefixOf(const std::string& text, const char* whole) {
    return text.size() <= std::strlen(whole) && std::strncmp(text.c_str(), whole, text.size()) == 0;
}

}  // namespace

void StreamingMarkupCheck::Take(const unsigned char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i, ++offset_) {
        TakeByte(bytes[i]);
    }
}

void StreamingMarkupCheck::TakeByte(unsigned char byte) {
    if (byte == 0) {
        Refuse("a NUL byte is not allowed in a policy document");
    }
    if (!utf8_.Take(byte)) {
        Refuse("the bytes are not valid UTF-8");
    }
    switch (state_) {
        case State::kText:
            return TakeText(byte);
        case State::kMarkupOpen:
            return TakeMarkupOpen(byte);
        case State::kBang:
            return TakeBang(byte);
        case State::kStartTag:
            return TakeStartTag(byte);
        case State::kEndTag:
            return TakeUntil(byte, ">");
        case State::kComment:
            return TakeUntil(byte, "-->");
        case State::kInstruction:
            return TakeUntil(byte, "?>");
        case State::kCdata:
            return TakeUntil(byte, "]]>");
        case State::kDeclaration:
            return TakeUntil(byte, ">");
    }
}

void StreamingMarkupCheck::TakeText(unsigned char byte) {
    if (byte == '<') {
        state_ = State::kMarkupOpen;
        return;
    }
    if (StartsCharacter(byte) && ++textLength_ > kMaxTextLength) {
        Refuse("a text is longer than 1048576 characters");
    }
}

void StreamingMarkupCheck::TakeMarkupOpen(unsigned char byte) {
    tail_.clear();
    previous_ = '\0';
    if (byte == '/') {
        state_ = State::kEndTag;
    } else if (byte == '?') {
        state_ = State::kInstruction;
    } else if (byte == '!') {
        opening_.clear();
        state_ = State::kBang;
    } else {
        attributes_ = 0;
        quote_ = '\0';
        state_ = State::kStartTag;
        TakeStartTag(byte);
    }
}

void StreamingMarkupCheck::TakeBang(unsigned char byte) {
    opening_ += static_cast<char>(byte);
    if (opening_ == kCommentStart) {
        state_ = State::kComment;
    } else if (opening_ == kCdataStart) {
        state_ = State::kCdata;
    } else if (!IsPrefixOf(opening_, kCommentStart) && !IsPrefixOf(opening_, kCdataStart)) {
        state_ = State::kDeclaration;
        TakeUntil(byte, ">");
    }
}

void StreamingMarkupCheck::TakeStartTag(unsigned char byte) {
    const char c = static_cast<char>(byte);
    if (quote_ != '\0') {
        quote_ = c == quote_ ? '\0' : quote_;
    } else if (c == '"' || c == '\'') {
        quote_ = c;
    } else if (c == '=' && ++attributes_ > kMaxAttributes) {
        Refuse("an element carries more than 1024 attributes");
    } else if (c == '>') {
        if (previous_ != '/' && ++depth_ > kMaxElementDepth) {
            Refuse("elements are nested deeper than 256 levels");
        }
        textLength_ = 0;
        state_ = State::kText;
    }
    previous_ = c;
}

// Skips markup up to its closing delimiter.
void StreamingMarkupCheck::TakeUntil(unsigned char byte, const char* end) {
    const std::size_t length = std::strlen(end);
    tail_ += static_cast<char>(byte);
    if (tail_.size() > length) {
        tail_.erase(0, tail_.size() - length);
    }
    if (tail_ == end) {
        if (state_ == State::kEndTag) {
            EndTag();
        }
        state_ = State::kText;
    }
}

void StreamingMarkupCheck::EndTag() {
    depth_ -= depth_ > 0 ? 1 : 0;
    textLength_ = 0;
}

void StreamingMarkupCheck::Refuse(const std::string& reason) const {
    throw std::runtime_error(reason + " (at byte " + std::to_string(offset_) + ")");
}

}  // namespace fwpolicy
