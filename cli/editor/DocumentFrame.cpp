#include "editor/DocumentFrame.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include <fwcommon/PolicyDocument.h>

namespace fwpolicy {
namespace {

// Where one child of the root element stands: from its start tag's '<' to
// just after its end tag (or empty-element tag).
struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// The children of the root that a frame leaves out or changes.
struct RootChildren {
    std::optional<Span> namedObjects;
    std::optional<Span> rules;
};

std::string_view TextOf(const std::vector<unsigned char>& bytes) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

bool EndsName(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '/' || c == '>';
}

// The position just after the '>' that closes the tag opened at at,
// stepping over quoted attribute values; npos when it is not closed.
std::size_t AfterTag(std::string_view text, std::size_t at) {
    char quote = 0;
    for (std::size_t i = at + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

void Record(RootChildren& children, std::string_view name, const Span& span) {
    if (name == "NamedObjects")
        children.namedObjects = span;
    else if (name == "Rules")
        children.rules = span;
}

constexpr std::string_view kCommentStart = "<!--";
constexpr std::string_view kCommentEnd = "-->";

// One pass over the tags, counting depth: the root's children are the
// elements that start at depth 1.
RootChildren FindRootChildren(std::string_view text) {
    RootChildren children;
    int depth = 0;
    std::size_t childBegin = 0;
    std::string_view childName;
    std::size_t at = text.find('<');
    while (at != std::string_view::npos && at + 1 < text.size()) {
        const char kind = text[at + 1];
        if (text.compare(at, kCommentStart.size(), kCommentStart) == 0) {
            const std::size_t end = text.find(kCommentEnd, at);
            if (end == std::string_view::npos)
                break;
            at = text.find('<', end + kCommentEnd.size());
            continue;
        }
        const std::size_t after = AfterTag(text, at);
        if (after == std::string_view::npos)
            break;
        if (kind == '/') {
            --depth;
            if (depth == 1)
                Record(children, childName, Span{childBegin, after});
        } else if (kind != '?' && kind != '!') {
            const bool empty = text[after - 2] == '/';
            if (depth == 1) {
                std::size_t nameEnd = at + 1;
                while (nameEnd < text.size() && !EndsName(text[nameEnd]))
                    ++nameEnd;
                childName = text.substr(at + 1, nameEnd - at - 1);
                childBegin = at;
                if (empty)
                    Record(children, childName, Span{at, after});
            }
            if (!empty)
                ++depth;
        }
        at = text.find('<', after);
    }
    if (!children.rules)
        throw std::runtime_error("the written document has no Rules element");
    return children;
}

void Append(std::vector<unsigned char>& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

// written with no rules and without its named objects, parsed; children
// are written's.
std::unique_ptr<Sarvo::PolicyType> ParseCut(const std::vector<unsigned char>& written,
                                            const RootChildren& children) {
    const std::string_view text = TextOf(written);
    std::vector<unsigned char> cut;
    std::size_t kept = 0;
    if (children.namedObjects) {
        Append(cut, text.substr(0, children.namedObjects->begin));
        kept = children.namedObjects->end;
    }
    Append(cut, text.substr(kept, children.rules->begin - kept));
    Append(cut, "<Rules/>");
    Append(cut, text.substr(children.rules->end));
    return fwcommon::ParsePolicyDocument(cut);
}

}  // namespace

Frame ParseFrame(const std::vector<unsigned char>& written) {
    const RootChildren children = FindRootChildren(TextOf(written));
    return Frame{ParseCut(written, children), children.rules->end};
}

std::vector<unsigned char> WithTailOf(std::vector<unsigned char> written, const Frame& frame) {
    const std::vector<unsigned char> framed = fwcommon::WritePolicyDocument(*frame.policy);
    const std::string_view tail =
        TextOf(framed).substr(FindRootChildren(TextOf(framed)).rules->end);
    // The tail is a few options long: the document's own buffer takes it
    // in place of the old one, without a second copy of the rules.
    written.resize(frame.rulesEnd);
    Append(written, tail);
    return written;
}

}  // namespace fwpolicy
