#include "document/ChangedItems.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
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

// A start tag of a child of the root element.
struct ListTag {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string_view name;
};

// An item of one of the lists: its bytes, from '<' to the last '>'.
struct Item {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t list = 0;  // index of its list's tag
    std::string_view name;
};

struct Layout {
    std::size_t rootBegin = 0;
    std::size_t rootTagEnd = 0;
    std::vector<ListTag> lists;
    std::vector<Item> items;
};

bool IsListOfItems(std::string_view name) {
    return name == "NamedObjects" || name == "Rules" || name == "Options";
}

bool EndsName(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '/' || c == '>';
}

// Reads the markup of a whole document, tag by tag.
class TagReader {
public:
    explicit TagReader(const std::vector<unsigned char>& bytes)
        : data_(reinterpret_cast<const char*>(bytes.data())), size_(bytes.size()) {}

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
        while (at < size_) {
            const char c = data_[at];
            if (c == '>') {
                pos_ = at + 1;
                return true;
            }
            if (c == '<')
                return false;
            if (c == '"' || c == '\'') {
                at = Find(c, at + 1);
                if (at >= size_)
                    return false;
            }
            ++at;
        }
        return false;
    }

    std::string_view NameAt(std::size_t at) const {
        std::size_t end = at;
        while (end < size_ && !EndsName(static_cast<unsigned char>(data_[end])))
            ++end;
        return std::string_view(data_ + at, end - at);
    }

    const char* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

std::string_view BytesOf(const std::vector<unsigned char>& bytes, std::size_t begin,
                         std::size_t end) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()) + begin, end - begin);
}

// The items of one list of the valid document, in order.
struct ValidList {
    std::string_view tag;  // the list's start tag
    std::vector<std::string_view> items;
    std::unordered_map<std::string_view, std::size_t> firstAt;  // an item's bytes: its index
};

// How far past the last item matched the comparison of layouts looks: an
// edit that changes, adds or removes an item shifts the rest by one.
constexpr std::size_t kItemsLookedAhead = 4;

// The items of the valid document, list by list.
class ValidItems {
public:
    ValidItems(const std::vector<unsigned char>& bytes, const Layout& layout) {
        for (const ListTag& list : layout.lists)
            lists_.push_back(ValidList{BytesOf(bytes, list.begin, list.end), {}, {}});
        for (const Item& item : layout.items) {
            ValidList& list = lists_[item.list];
            list.firstAt.emplace(BytesOf(bytes, item.begin, item.end), list.items.size());
            list.items.push_back(BytesOf(bytes, item.begin, item.end));
        }
    }

    // The valid list whose start tag reads as `tag` does, or nothing.
    const ValidList* ListLike(std::string_view tag) const {
        for (const ValidList& list : lists_) {
            if (list.tag == tag || SameMarkup(list.tag, tag))
                return &list;
        }
        return nullptr;
    }

private:
    std::vector<ValidList> lists_;
};

// Finds the edited items in one valid list: byte for byte anywhere in it,
// or in another layout among the few items after the last one found (the
// file an edit starts from may be laid out otherwise than the result).
class ItemFinder {
public:
    ItemFinder(const ValidList& list, const OmittableAttributes* omittable)
        : list_(list), omittable_(omittable) {}

    bool Find(std::string_view item) {
        const auto same = list_.firstAt.find(item);
        if (same != list_.firstAt.end()) {
            next_ = same->second + 1;
            return true;
        }
        const std::size_t end = std::min(next_ + kItemsLookedAhead, list_.items.size());
        for (std::size_t i = next_; i < end; ++i) {
            if (SameMarkup(list_.items[i], item, omittable_)) {
                next_ = i + 1;
                return true;
            }
        }
        return false;
    }

private:
    const ValidList& list_;
    const OmittableAttributes* omittable_;
    std::size_t next_ = 0;
};

// Which items of the edited document are left out: those the valid
// document holds as they are, except the first of each run of one kind
// within a list.
std::vector<bool> ItemsLeftOut(const std::vector<unsigned char>& edited, const Layout& layout,
                               const ValidItems& valid, const OmittableAttributes* omittable) {
    std::vector<bool> leftOut(layout.items.size(), false);
    std::optional<ItemFinder> finder;
    for (std::size_t i = 0; i < layout.items.size(); ++i) {
        const Item& item = layout.items[i];
        const bool sameList = i > 0 && layout.items[i - 1].list == item.list;
        if (!sameList) {
            const ListTag& list = layout.lists[item.list];
            const std::string_view tag = BytesOf(edited, list.begin, list.end);
            const ValidList* validList = valid.ListLike(tag);
            // A namespace the list declares may bind the prefixes otherwise.
            const auto listTag = ReadStartTag(tag);
            const bool declares = !listTag || DeclaresNamespace(listTag->attributes);
            finder.reset();
            if (validList)
                finder.emplace(*validList, declares ? nullptr : omittable);
        }
        const bool continuesRun = sameList && layout.items[i - 1].name == item.name;
        const bool found = finder && finder->Find(BytesOf(edited, item.begin, item.end));
        leftOut[i] = continuesRun && found;
    }
    return leftOut;
}

bool IsWhiteSpace(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// Where the bytes left out with the i-th item begin: at the item, or at the
// end of the item before it when only white space lies between the two, and
// no more than one text may hold. Otherwise the white space around every
// left-out item would add up to one run of text, which grows with the list
// and may break the bound on a text's length that the whole document keeps.
std::size_t LeftOutFrom(const std::vector<unsigned char>& bytes, const Layout& layout,
                        std::size_t i) {
    const Item& item = layout.items[i];
    const std::size_t previousEnd = layout.items[i - 1].end;  // a left-out item continues a run
    const std::string_view between = BytesOf(bytes, previousEnd, item.begin);
    return between.size() <= kMaxTextLength && IsWhiteSpace(between) ? previousEnd : item.begin;
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

bool SameRootTag(std::string_view a, std::string_view b) {
    const auto x = RootTagRead(a);
    const auto y = RootTagRead(b);
    return x && y && SameStartTag(*x, *y);
}

}  // namespace

std::optional<std::vector<unsigned char>> ChangedPartOf(
    const std::vector<unsigned char>& valid, const std::vector<unsigned char>& edited,
    const std::vector<AttributeDefault>& defaults) {
    const auto validLayout = TagReader(valid).Read();
    const auto editedLayout = TagReader(edited).Read();
    if (!validLayout || !editedLayout)
        return std::nullopt;
    // The same encoding and version, and a root start tag with the same
    // attributes but for the schema location: the same namespace
    // declarations above the lists.
    if (!SamePrologue(BytesOf(valid, 0, validLayout->rootBegin),
                      BytesOf(edited, 0, editedLayout->rootBegin)) ||
        !SameRootTag(BytesOf(valid, validLayout->rootBegin, validLayout->rootTagEnd),
                     BytesOf(edited, editedLayout->rootBegin, editedLayout->rootTagEnd)))
        return std::nullopt;
    const ValidItems validItems(valid, *validLayout);
    const auto omittable = OmittableBelow(
        BytesOf(edited, editedLayout->rootBegin, editedLayout->rootTagEnd), defaults);
    const std::vector<bool> leftOut =
        ItemsLeftOut(edited, *editedLayout, validItems, omittable ? &*omittable : nullptr);
    // Nothing to leave out (a document rewritten in another layout): the
    // caller reads the edited bytes themselves, without a copy of them.
    if (std::find(leftOut.begin(), leftOut.end(), true) == leftOut.end())
        return std::nullopt;
    return WithoutItems(edited, *editedLayout, leftOut);
}

}  // namespace fwcommon::document
