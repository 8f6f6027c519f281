#include "document/DocumentLayout.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <utility>

#include "document/AttributeDefaults.h"
#include "document/MarkupLimits.h"
#include "document/SameMarkup.h"

namespace fwcommon::document {
namespace {

// Element depths while the tags are read: outside the root, inside the
// root, inside one of its children (a list), inside a list's item.
constexpr int kOutside = 0;
constexpr int kInRoot = 1;
constexpr int kInList = 2;

bool IsListOfItems(std::string_view name) {
    return name == "NamedObjects" || name == "Rules" || name == "Options";
}

// Bytes looked up in one step while a tag is read, by what they do there:
// end a name, or stop the scan of a tag (its end, a quote that opens a
// value, and '<', which no tag holds).
enum TagByte : unsigned char { kInside = 0, kEndsName = 1, kStopsTag = 2 };

constexpr std::array<unsigned char, 256> TagBytes() {
    std::array<unsigned char, 256> bytes{};
    for (const unsigned char c : {' ', '\t', '\r', '\n', '/'})
        bytes[c] = kEndsName;
    bytes[static_cast<unsigned char>('>')] = kEndsName | kStopsTag;
    for (const unsigned char c : {'"', '\'', '<'})
        bytes[c] |= kStopsTag;
    return bytes;
}

constexpr std::array<unsigned char, 256> kTagBytes = TagBytes();

bool Is(char c, TagByte what) {
    return (kTagBytes[static_cast<unsigned char>(c)] & what) != 0;
}

// Reads the markup of a whole document, tag by tag.
class TagReader {
public:
    TagReader(const std::vector<unsigned char>& bytes, const ItemReader* read)
        : data_(reinterpret_cast<const char*>(bytes.data())), size_(bytes.size()), read_(read) {}

    std::optional<Layout> Read() {
        Layout layout;
        int depth = kOutside;
        bool rootSeen = false;
        bool inListOfItems = false;
        Item item;
        for (std::size_t lt = Find('<', 0); lt < size_; lt = Find('<', pos_)) {
            if (lt + 1 >= size_)
                return std::nullopt;
            const char kind = data_[lt + 1];
            // Declarations, processing instructions, comments and CDATA
            // sections are passed over whole: they may hold '<' and '>'.
            if (kind == '?' || kind == '!') {
                if (!SkipUnparsedMarkup(lt))
                    return std::nullopt;
                continue;
            }
            if (!SkipTag(lt))
                return std::nullopt;
            if (kind == '/') {
                if (depth == kOutside)
                    return std::nullopt;
                --depth;
                if (depth == kInList && inListOfItems) {
                    item.end = pos_;
                    layout.items.push_back(item);
                }
                continue;
            }
            const std::string_view name = NameAt(lt + 1);
            const bool empty = data_[pos_ - 2] == '/';
            if (depth == kOutside) {
                if (rootSeen)
                    return std::nullopt;
                rootSeen = true;
                layout.rootBegin = lt;
                layout.rootTagEnd = pos_;
            } else if (depth == kInRoot) {
                layout.lists.push_back(ListTag{lt, pos_, name});
                inListOfItems = IsListOfItems(name);
            } else if (depth == kInList && inListOfItems) {
                item = Item{lt, pos_, layout.lists.size() - 1, name};
                if (const auto end = ReadItem(layout, lt)) {
                    item.end = lt + *end;
                    layout.items.push_back(item);
                    pos_ = item.end;
                    continue;  // read whole, as if it were empty
                }
                if (empty)
                    layout.items.push_back(item);
            }
            if (!empty)
                ++depth;
        }
        if (!rootSeen || depth != kOutside)
            return std::nullopt;
        return layout;
    }

private:
    std::optional<std::size_t> ReadItem(const Layout& sofar, std::size_t lt) const {
        if (read_ == nullptr)
            return std::nullopt;
        return (*read_)(sofar, std::string_view(data_ + lt, size_ - lt));
    }

    std::size_t Find(char c, std::size_t from) const {
        if (from >= size_)
            return size_;
        const void* found = std::memchr(data_ + from, c, size_ - from);
        return found ? static_cast<const char*>(found) - data_ : size_;
    }

    // Moves past the declaration, processing instruction, comment or CDATA
    // section that starts at `lt`; false for a DOCTYPE or one not closed.
    bool SkipUnparsedMarkup(std::size_t lt) {
        static constexpr std::pair<std::string_view, std::string_view> kKinds[] = {
            {"<?", "?>"}, {"<!--", "-->"}, {"<![CDATA[", "]]>"}};
        const std::string_view rest(data_ + lt, size_ - lt);
        for (const auto& [open, close] : kKinds) {
            if (rest.substr(0, open.size()) != open)
                continue;
            const std::size_t end = rest.find(close, open.size());
            if (end == std::string_view::npos)
                return false;
            pos_ = lt + end + close.size();
            return true;
        }
        return false;
    }

    // Moves past the tag that starts at `lt`, over quoted attribute values.
    bool SkipTag(std::size_t lt) {
        std::size_t at = lt + 1;
        for (;;) {
            while (at < size_ && !Is(data_[at], kStopsTag))
                ++at;
            if (at >= size_)
                return false;
            const char c = data_[at];
            if (c == '>') {
                pos_ = at + 1;
                return true;
            }
            if (c == '<')
                return false;
            at = Find(c, at + 1);  // the quote that closes the value
            if (at >= size_)
                return false;
            ++at;
        }
    }

    std::string_view NameAt(std::size_t at) const {
        std::size_t end = at;
        while (end < size_ && !Is(data_[end], kEndsName))
            ++end;
        return std::string_view(data_ + at, end - at);
    }

    const char* data_;
    std::size_t size_;
    const ItemReader* read_;
    std::size_t pos_ = 0;
};

bool IsWhiteSpace(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// Where the bytes left out with the i-th item begin: at the item, or at the
// end of the markup before it (the item before it in its list, or the
// list's start tag) when only white space lies between the two, and no more
// than one text may hold. Otherwise the white space around every left-out
// item would add up to one run of text, which grows with the list and may
// break the bound on a text's length that the whole document keeps.
std::size_t LeftOutFrom(const std::vector<unsigned char>& bytes, const Layout& layout,
                        std::size_t i) {
    const Item& item = layout.items[i];
    const bool firstOfList = i == 0 || layout.items[i - 1].list != item.list;
    const std::size_t previousEnd =
        firstOfList ? layout.lists[item.list].end : layout.items[i - 1].end;
    const std::string_view between = BytesOf(bytes, previousEnd, item.begin);
    return between.size() <= kMaxTextLength && IsWhiteSpace(between) ? previousEnd : item.begin;
}

// A root start tag without its schema location hints: the read ignores
// them, validating against its own grammar.
std::optional<StartTag> RootTagRead(std::string_view bytes) {
    auto tag = ReadStartTag(bytes);
    if (!tag)
        return std::nullopt;
    std::vector<std::string> hints;
    for (const MarkupAttribute& a : tag->attributes) {
        const auto prefix = DeclaredPrefix(a);
        if (prefix && !prefix->empty() && a.value == kSchemaInstanceNamespace) {
            hints.push_back(std::string(*prefix) + ":schemaLocation");
            hints.push_back(std::string(*prefix) + ":noNamespaceSchemaLocation");
        }
    }
    auto& attributes = tag->attributes;
    attributes.erase(std::remove_if(attributes.begin(), attributes.end(),
                                    [&](const MarkupAttribute& a) {
                                        return std::find(hints.begin(), hints.end(), a.name) !=
                                               hints.end();
                                    }),
                     attributes.end());
    return tag;
}

}  // namespace

std::optional<Layout> ReadLayout(const std::vector<unsigned char>& bytes) {
    return TagReader(bytes, nullptr).Read();
}

std::optional<Layout> ReadLayout(const std::vector<unsigned char>& bytes, const ItemReader& read) {
    return TagReader(bytes, &read).Read();
}

void KeepOneOfEachRun(const Layout& layout, std::vector<bool>& leftOut) {
    std::size_t begin = 0;
    while (begin < layout.items.size()) {
        const Item& first = layout.items[begin];
        std::size_t end = begin + 1;
        while (end < layout.items.size() && layout.items[end].list == first.list &&
               layout.items[end].name == first.name)
            ++end;
        const auto size = [&layout](std::size_t i) {
            return layout.items[i].end - layout.items[i].begin;
        };
        std::size_t shortest = begin;
        bool allLeftOut = true;
        for (std::size_t i = begin; i < end; ++i) {
            allLeftOut = allLeftOut && leftOut[i];
            if (size(i) < size(shortest))
                shortest = i;
        }
        if (allLeftOut)
            leftOut[shortest] = false;
        begin = end;
    }
}

// The bytes with the items marked in leftOut cut out, in one allocation of
// the exact size (the kept part of a large document may be most of it).
std::vector<unsigned char> WithoutItems(const std::vector<unsigned char>& bytes,
                                        const Layout& layout, const std::vector<bool>& leftOut) {
    std::vector<std::pair<std::size_t, std::size_t>> keptRanges;
    std::size_t from = 0;
    for (std::size_t i = 0; i < layout.items.size(); ++i) {
        if (!leftOut[i])
            continue;
        keptRanges.emplace_back(from, LeftOutFrom(bytes, layout, i));
        from = layout.items[i].end;
    }
    keptRanges.emplace_back(from, bytes.size());
    std::size_t size = 0;
    for (const auto& [begin, end] : keptRanges)
        size += end - begin;
    std::vector<unsigned char> kept;
    kept.reserve(size);
    for (const auto& [begin, end] : keptRanges)
        kept.insert(kept.end(), bytes.begin() + begin, bytes.begin() + end);
    return kept;
}

bool SameListTag(std::string_view a, std::string_view b) {
    return a == b || SameMarkup(a, b);
}

bool SameRootTag(std::string_view a, std::string_view b) {
    const auto x = RootTagRead(a);
    const auto y = RootTagRead(b);
    return x && y && SameStartTag(*x, *y);
}

}  // namespace fwcommon::document
