#include "document/ChangedItems.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "document/MarkupLimits.h"

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
            if (kind == '?') {
                // Only the XML declaration, before the root.
                if (rootSeen || !SkipDeclaration(lt))
                    return std::nullopt;
                continue;
            }
            if (kind == '!' || !SkipTag(lt))
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

    bool SkipDeclaration(std::size_t lt) {
        const std::string_view rest(data_ + lt, size_ - lt);
        const std::size_t close = rest.find("?>");
        if (close == std::string_view::npos)
            return false;
        pos_ = lt + close + 2;
        return true;
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

// The items of the valid document, by the bytes of their list's start tag.
class ValidItems {
public:
    ValidItems(const std::vector<unsigned char>& bytes, const Layout& layout) {
        for (const Item& item : layout.items) {
            const ListTag& list = layout.lists[item.list];
            byList_[BytesOf(bytes, list.begin, list.end)].insert(
                BytesOf(bytes, item.begin, item.end));
        }
    }

    // True when the valid document holds these item bytes under a list
    // whose start tag has these bytes.
    bool Hold(std::string_view listTag, std::string_view item) const {
        const auto list = byList_.find(listTag);
        return list != byList_.end() && list->second.count(item) != 0;
    }

private:
    std::unordered_map<std::string_view, std::unordered_set<std::string_view>> byList_;
};

// Which items of the edited document are left out: those the valid
// document holds as they are, except the first of each run of one kind
// within a list.
std::vector<bool> ItemsLeftOut(const std::vector<unsigned char>& edited, const Layout& layout,
                               const ValidItems& valid) {
    std::vector<bool> leftOut(layout.items.size(), false);
    for (std::size_t i = 0; i < layout.items.size(); ++i) {
        const Item& item = layout.items[i];
        const bool continuesRun =
            i > 0 && layout.items[i - 1].list == item.list && layout.items[i - 1].name == item.name;
        const ListTag& list = layout.lists[item.list];
        leftOut[i] = continuesRun && valid.Hold(BytesOf(edited, list.begin, list.end),
                                                BytesOf(edited, item.begin, item.end));
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

}  // namespace

std::optional<std::vector<unsigned char>> ChangedPartOf(const std::vector<unsigned char>& valid,
                                                        const std::vector<unsigned char>& edited) {
    const auto validLayout = TagReader(valid).Read();
    const auto editedLayout = TagReader(edited).Read();
    if (!validLayout || !editedLayout)
        return std::nullopt;
    // The same XML declaration and root start tag: the same encoding and
    // the same namespace declarations above the lists.
    if (BytesOf(valid, 0, validLayout->rootTagEnd) != BytesOf(edited, 0, editedLayout->rootTagEnd))
        return std::nullopt;
    const ValidItems validItems(valid, *validLayout);
    const std::vector<bool> leftOut = ItemsLeftOut(edited, *editedLayout, validItems);
    // Nothing to leave out (a document rewritten in another layout): the
    // caller reads the edited bytes themselves, without a copy of them.
    if (std::find(leftOut.begin(), leftOut.end(), true) == leftOut.end())
        return std::nullopt;
    return WithoutItems(edited, *editedLayout, leftOut);
}

}  // namespace fwcommon::document
