#include "document/SameMarkup.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <system_error>
#include <vector>

#include "document/MarkupLimits.h"

namespace fwcommon::document {
namespace {

constexpr std::size_t kNowhere = std::string_view::npos;

// The classes of the characters that end a name in a tag, looked up in one
// step: the tokens are read for every item of a large document.
enum CharClass : unsigned char { kOther = 0, kSpace = 1, kEndsName = 2 };

constexpr std::array<unsigned char, 256> CharClasses() {
    std::array<unsigned char, 256> classes{};
    for (const unsigned char c : {' ', '\t', '\r', '\n'})
        classes[c] = kSpace | kEndsName;
    // No name holds a quote: a tag read so ends where a scan that passes
    // over quoted values finds its end.
    for (const unsigned char c : {'/', '>', '=', '?', '<', '"', '\''})
        classes[c] = kEndsName;
    return classes;
}

constexpr std::array<unsigned char, 256> kCharClasses = CharClasses();

bool IsSpace(char c) {
    return (kCharClasses[static_cast<unsigned char>(c)] & kSpace) != 0;
}

bool IsAllSpace(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsSpace);
}

std::size_t SpaceEnd(std::string_view text, std::size_t at) {
    while (at < text.size() && IsSpace(text[at]))
        ++at;
    return at;
}

// Where a name that starts at `at` ends: at white space or at a character
// that cannot be part of one in a tag.
std::size_t NameEnd(std::string_view text, std::size_t at) {
    while (at < text.size() &&
           (kCharClasses[static_cast<unsigned char>(text[at])] & kEndsName) == 0)
        ++at;
    return at;
}

using Attribute = MarkupAttribute;

bool SameAttribute(const Attribute& a, const Attribute& b) {
    return a.name == b.name && a.value == b.value;
}

bool NameOrder(const Attribute& a, const Attribute& b) {
    return a.name != b.name ? a.name < b.name : a.value < b.value;
}

bool SameAttributes(const std::vector<Attribute>& a, const std::vector<Attribute>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameAttribute);
}

// Reads the attributes of a tag from `at`, just after its name: each one
// after white space, name, '=', a quoted value. Where the first character
// that begins no attribute stands (after any white space), or kNowhere when
// the attributes are broken.
std::size_t ReadAttributes(std::string_view text, std::size_t at, std::vector<Attribute>& out) {
    out.clear();
    for (;;) {
        const std::size_t spaceEnd = SpaceEnd(text, at);
        if (spaceEnd >= text.size())
            return kNowhere;
        const char c = text[spaceEnd];
        if (c == '>' || c == '/' || c == '?')
            return spaceEnd;
        const std::size_t nameEnd = NameEnd(text, spaceEnd);
        if (spaceEnd == at || nameEnd == spaceEnd)
            return kNowhere;  // attributes stand apart, and each has a name
        const std::size_t equals = SpaceEnd(text, nameEnd);
        if (equals >= text.size() || text[equals] != '=')
            return kNowhere;
        const std::size_t open = SpaceEnd(text, equals + 1);
        if (open >= text.size() || (text[open] != '"' && text[open] != '\''))
            return kNowhere;
        const std::size_t close = text.find(text[open], open + 1);
        if (close == kNowhere)
            return kNowhere;
        out.push_back(Attribute{text.substr(spaceEnd, nameEnd - spaceEnd),
                                text.substr(open + 1, close - open - 1)});
        at = close + 1;
    }
}

enum class Token { kStart, kEnd, kText, kDone, kBroken };

// The tokens of a piece of markup. A start tag's attributes come sorted; an
// empty-element tag reads as its start tag and its end tag; white space
// between tags is passed over unless it is all of an element's content.
class Tokens {
public:
    explicit Tokens(std::string_view text) : text_(text) {}

    Token Next() {
        if (pendingEnd_) {
            pendingEnd_ = false;
            return Token::kEnd;  // of the empty element just read
        }
        while (at_ < text_.size()) {
            if (text_[at_] == '<')
                return Tag();
            const std::size_t lt = std::min(text_.find('<', at_), text_.size());
            const std::string_view text = text_.substr(at_, lt - at_);
            at_ = lt;
            if (!IsAllSpace(text) || (afterStart_ && text_.compare(at_, 2, "</") == 0)) {
                content_ = text;
                afterStart_ = false;
                return Token::kText;
            }
            if (text.size() > kMaxTextLength)
                return Token::kBroken;
        }
        return Token::kDone;
    }

    std::size_t Position() const { return at_; }
    std::string_view Name() const { return name_; }
    const std::vector<Attribute>& Attributes() const { return attributes_; }
    std::string_view Text() const { return content_; }

private:
    Token Tag() {
        afterStart_ = false;
        if (at_ + 1 >= text_.size())
            return Token::kBroken;
        const char kind = text_[at_ + 1];
        if (kind == '!' || kind == '?')
            return Token::kBroken;
        return kind == '/' ? EndTagToken() : StartTagToken();
    }

    Token EndTagToken() {
        const std::size_t nameEnd = NameEnd(text_, at_ + 2);
        name_ = text_.substr(at_ + 2, nameEnd - at_ - 2);
        const std::size_t close = SpaceEnd(text_, nameEnd);
        if (name_.empty() || close >= text_.size() || text_[close] != '>')
            return Token::kBroken;
        at_ = close + 1;
        return Token::kEnd;
    }

    Token StartTagToken() {
        const std::size_t nameEnd = NameEnd(text_, at_ + 1);
        name_ = text_.substr(at_ + 1, nameEnd - at_ - 1);
        const std::size_t close = ReadAttributes(text_, nameEnd, attributes_);
        if (name_.empty() || close == kNowhere)
            return Token::kBroken;
        if (attributes_.size() > 1)
            std::sort(attributes_.begin(), attributes_.end(), NameOrder);
        if (text_[close] == '>') {
            at_ = close + 1;
            afterStart_ = true;
            return Token::kStart;
        }
        if (text_[close] != '/' || text_.compare(close, 2, "/>") != 0)
            return Token::kBroken;
        at_ = close + 2;
        pendingEnd_ = true;
        return Token::kStart;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    bool afterStart_ = false;  // the last token was the start tag of a non-empty element
    bool pendingEnd_ = false;
    std::string_view name_;
    std::vector<Attribute> attributes_;
    std::string_view content_;
};

// An end tag or a text.
bool SameToken(Token token, const Tokens& a, const Tokens& b) {
    switch (token) {
        case Token::kEnd:
            return a.Name() == b.Name();
        case Token::kText:
            return a.Text() == b.Text();
        default:
            return false;
    }
}

std::optional<std::string_view> ValueOf(const std::vector<Attribute>& attributes,
                                        std::string_view name) {
    for (const Attribute& a : attributes) {
        if (a.name == name)
            return a.value;
    }
    return std::nullopt;
}

bool HoldsTwice(const std::vector<Attribute>& sorted) {
    return std::adjacent_find(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
               return a.name == b.name;
           }) != sorted.end();
}

// Two sorted attribute lists of one element type: the same, apart from
// attributes that one of them leaves out and the other gives the default.
bool SameWithDefaults(const std::vector<Attribute>& a, const std::vector<Attribute>& b,
                      const OmittableAttributes& omittable) {
    const auto type = ValueOf(a, omittable.typeAttribute);
    // The bound on an element's attributes holds for both, as it does for
    // equal lists.
    if (!type || HoldsTwice(a) || HoldsTwice(b) || a.size() > kMaxAttributes ||
        b.size() > kMaxAttributes)
        return false;
    const auto isDefault = [&](const Attribute& written) {
        return omittable.DefaultOf(*type, written.name) == written.value;
    };
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() || j < b.size()) {
        if (i < a.size() && j < b.size() && a[i].name == b[j].name) {
            if (a[i].value != b[j].value)
                return false;
            ++i;
            ++j;
        } else if (j == b.size() || (i < a.size() && a[i].name < b[j].name)) {
            if (!isDefault(a[i++]))
                return false;
        } else if (!isDefault(b[j++])) {
            return false;
        }
    }
    return true;
}

// Compares the tokens of two pieces of markup one by one.
class TokenComparison {
public:
    explicit TokenComparison(const OmittableAttributes* omittable) : omittable_(omittable) {}

    bool Same(Token token, const Tokens& a, const Tokens& b) {
        if (token != Token::kStart)
            return SameToken(token, a, b);
        if (a.Name() != b.Name())
            return false;
        if (DeclaresNamespace(a.Attributes()) || DeclaresNamespace(b.Attributes()))
            omittable_ = nullptr;
        return SameAttributes(a.Attributes(), b.Attributes()) ||
               (omittable_ && SameWithDefaults(a.Attributes(), b.Attributes(), *omittable_));
    }

private:
    const OmittableAttributes* omittable_;
};

// A whole number that an xs:long element takes: a minus sign or none,
// digits, in 64 bits.
bool IsWholeNumber64(std::string_view text) {
    std::int64_t value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && stop == end;
}

// Turns the tokens of one piece into fields.
class FieldReader {
public:
    FieldReader(const OmittableAttributes* omittable, const NumberTexts* numbers, MarkupFields& out)
        : omittable_(omittable), numbers_(numbers), out_(out) {}

    void Start(const Tokens& tokens) {
        const std::vector<Attribute>& attributes = tokens.Attributes();
        if (DeclaresNamespace(attributes))
            omittable_ = nullptr;
        out_.Field(MarkupFields::Kind::kStart, tokens.Name());
        const auto type =
            omittable_ ? ValueOf(attributes, omittable_->typeAttribute) : std::nullopt;
        // The conditions under which SameWithDefaults compares the lists.
        const bool dropDefaults =
            type && !HoldsTwice(attributes) && attributes.size() <= kMaxAttributes;
        for (const Attribute& a : attributes) {
            if (dropDefaults && omittable_->DefaultOf(*type, a.name) == a.value)
                continue;
            out_.Field(MarkupFields::Kind::kAttributeName, a.name);
            out_.Field(MarkupFields::Kind::kAttributeValue, a.value);
        }
        if (depth_ == 0)
            top_ = tokens.Name();
        else if (depth_ == 1)
            inNumber_ = attributes.empty() && IsNumberChild(tokens.Name());
        ++depth_;
    }

    void End(const Tokens& tokens) {
        out_.Field(MarkupFields::Kind::kEnd, tokens.Name());
        --depth_;
        if (depth_ <= 1)
            inNumber_ = false;
    }

    void Text(const Tokens& tokens) {
        const bool number = inNumber_ && depth_ == 2 && IsWholeNumber64(tokens.Text());
        if (number)
            out_.Field(MarkupFields::Kind::kNumber, std::string_view());
        else
            out_.Field(MarkupFields::Kind::kText, tokens.Text());
    }

private:
    bool IsNumberChild(std::string_view name) const {
        return numbers_ && top_ == numbers_->top &&
               std::find(numbers_->children.begin(), numbers_->children.end(), name) !=
                   numbers_->children.end();
    }

    const OmittableAttributes* omittable_;
    const NumberTexts* numbers_;
    MarkupFields& out_;
    int depth_ = 0;
    std::string_view top_;
    bool inNumber_ = false;
};

struct Declared {
    std::string_view version;
    bool utf8 = true;
};

bool IsUtf8Name(std::string_view name) {
    constexpr std::string_view kUtf8 = "utf-8";
    return name.size() == kUtf8.size() &&
           std::equal(name.begin(), name.end(), kUtf8.begin(), [](char c, char lower) {
               return (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) == lower;
           });
}

// Moves `text` past the comments and processing instructions at its start,
// and the white space around them; false when one is not closed.
bool SkipMisc(std::string_view& text) {
    static constexpr std::pair<std::string_view, std::string_view> kKinds[] = {{"<!--", "-->"},
                                                                               {"<?", "?>"}};
    for (;;) {
        text.remove_prefix(std::min(SpaceEnd(text, 0), text.size()));
        const auto kind = std::find_if(std::begin(kKinds), std::end(kKinds), [&](const auto& k) {
            return text.substr(0, k.first.size()) == k.first;
        });
        if (kind == std::end(kKinds))
            return true;
        const std::size_t close = text.find(kind->second, kind->first.size());
        if (close == kNowhere)
            return false;
        text.remove_prefix(close + kind->second.size());
    }
}

// What the bytes before a root element declare, or nothing when they hold
// more than a byte-order mark, a declaration, comments, processing
// instructions and white space.
std::optional<Declared> ReadPrologue(std::string_view text) {
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    constexpr std::string_view kDeclarationStart = "<?xml";
    constexpr std::string_view kDefaultVersion = "1.0";
    if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark)
        text.remove_prefix(kUtf8Mark.size());
    Declared declared{kDefaultVersion};
    if (text.substr(0, kDeclarationStart.size()) == kDeclarationStart &&
        text.size() > kDeclarationStart.size() && IsSpace(text[kDeclarationStart.size()])) {
        std::vector<Attribute> pseudo;
        const std::size_t close = ReadAttributes(text, kDeclarationStart.size(), pseudo);
        if (close == kNowhere || text.compare(close, 2, "?>") != 0)
            return std::nullopt;
        const auto named = [&pseudo](std::string_view name) {
            return std::find_if(pseudo.begin(), pseudo.end(),
                                [name](const Attribute& a) { return a.name == name; });
        };
        const auto version = named("version");
        if (version == pseudo.end())
            return std::nullopt;
        declared.version = version->value;
        const auto encoding = named("encoding");
        declared.utf8 = encoding == pseudo.end() || IsUtf8Name(encoding->value);
        text.remove_prefix(close + 2);
    }
    if (!SkipMisc(text) || !text.empty())
        return std::nullopt;
    return declared;
}

}  // namespace

std::optional<std::string_view> OmittableAttributes::DefaultOf(std::string_view type,
                                                               std::string_view attribute) const {
    for (const Entry& entry : entries) {
        if (entry.type == type && entry.attribute == attribute)
            return entry.value;
    }
    return std::nullopt;
}

bool SameMarkup(std::string_view a, std::string_view b, const OmittableAttributes* omittable) {
    Tokens x(a);
    Tokens y(b);
    TokenComparison comparison(omittable);
    for (;;) {
        const Token token = x.Next();
        if (token != y.Next())
            return false;
        if (token == Token::kDone)
            return true;
        if (!comparison.Same(token, x, y))
            return false;
    }
}

bool ReadMarkupFields(std::string_view piece, const OmittableAttributes* omittable,
                      const NumberTexts* numbers, MarkupFields& out) {
    Tokens tokens(piece);
    FieldReader reader(omittable, numbers, out);
    for (;;) {
        switch (tokens.Next()) {
            case Token::kStart:
                reader.Start(tokens);
                break;
            case Token::kEnd:
                reader.End(tokens);
                break;
            case Token::kText:
                reader.Text(tokens);
                break;
            case Token::kDone:
                return true;
            case Token::kBroken:
                return false;
        }
    }
}

std::optional<std::size_t> ReadElementFields(std::string_view text,
                                             const OmittableAttributes* omittable,
                                             const NumberTexts* numbers, MarkupFields& out) {
    Tokens tokens(text);
    FieldReader reader(omittable, numbers, out);
    int depth = 0;
    for (;;) {
        switch (tokens.Next()) {
            case Token::kStart:
                reader.Start(tokens);
                ++depth;
                break;
            case Token::kEnd:
                reader.End(tokens);
                if (--depth == 0)
                    return tokens.Position();
                break;
            case Token::kText:
                if (depth == 0)
                    return std::nullopt;  // the text does not start with the element
                reader.Text(tokens);
                break;
            case Token::kDone:
            case Token::kBroken:
                return std::nullopt;
        }
    }
}

std::optional<StartTag> ReadStartTag(std::string_view tag) {
    if (tag.size() < 2 || tag[0] != '<' || tag[1] == '/' || tag[1] == '!' || tag[1] == '?')
        return std::nullopt;
    StartTag read;
    const std::size_t nameEnd = NameEnd(tag, 1);
    read.name = tag.substr(1, nameEnd - 1);
    const std::size_t close = ReadAttributes(tag, nameEnd, read.attributes);
    if (read.name.empty() || close == kNowhere ||
        (tag.substr(close) != ">" && tag.substr(close) != "/>"))
        return std::nullopt;
    return read;
}

bool SameStartTag(const StartTag& a, const StartTag& b) {
    if (a.name != b.name)
        return false;
    std::vector<MarkupAttribute> x = a.attributes;
    std::vector<MarkupAttribute> y = b.attributes;
    std::sort(x.begin(), x.end(), NameOrder);
    std::sort(y.begin(), y.end(), NameOrder);
    return SameAttributes(x, y);
}

std::optional<std::string_view> DeclaredPrefix(const MarkupAttribute& attribute) {
    constexpr std::string_view kDeclaration = "xmlns";
    if (attribute.name == kDeclaration)
        return std::string_view();
    if (attribute.name.size() > kDeclaration.size() &&
        attribute.name.substr(0, kDeclaration.size()) == kDeclaration &&
        attribute.name[kDeclaration.size()] == ':')
        return attribute.name.substr(kDeclaration.size() + 1);
    return std::nullopt;
}

bool DeclaresNamespace(const std::vector<MarkupAttribute>& attributes) {
    return std::any_of(attributes.begin(), attributes.end(),
                       [](const MarkupAttribute& a) { return DeclaredPrefix(a).has_value(); });
}

bool SamePrologue(std::string_view a, std::string_view b) {
    if (a == b)
        return true;
    const auto x = ReadPrologue(a);
    const auto y = ReadPrologue(b);
    return x && y && x->utf8 && y->utf8 && x->version == y->version;
}

}  // namespace fwcommon::document
