#pragma once

// Where the lists of a policy document and their items lie in its bytes,
// found from the tags alone, and the same bytes with some items cut out.
//
// The lists of a policy document (NamedObjects, Rules, Options) hold items
// that are each optional and repeat without bound, so a list's items are
// valid in any number as long as the order of their kinds holds. The
// checks of edited and merged documents read again only the items that no
// valid document holds; these are the pieces they share.

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace fwcommon::document {

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

// The layout of a whole document, or nothing when it holds a DOCTYPE or is
// not well-formed as far as its tags go. Comments, processing instructions
// and CDATA sections are passed over. The views point into `bytes`.
std::optional<Layout> ReadLayout(const std::vector<unsigned char>& bytes);

// Reads one item of a list while the layout is read, so that its bytes are
// read once: given the layout so far (the item's list is the last one, and
// the item will be items[sofar.items.size()]) and the bytes from the
// item's '<' to the end of the document, it answers where in those bytes
// the item ends, or nothing to leave the item to the layout read. An end
// it gives must be the one the layout read finds.
using ItemReader =
    std::function<std::optional<std::size_t>(const Layout& sofar, std::string_view rest)>;

// ReadLayout, with each item of the lists offered to `read` first.
std::optional<Layout> ReadLayout(const std::vector<unsigned char>& bytes, const ItemReader& read);

inline std::string_view BytesOf(const std::vector<unsigned char>& bytes, std::size_t begin,
                                std::size_t end) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()) + begin, end - begin);
}

// The bytes before the root element and the root start tag.
inline std::string_view PrologueOf(const std::vector<unsigned char>& bytes, const Layout& layout) {
    return BytesOf(bytes, 0, layout.rootBegin);
}
inline std::string_view RootTagOf(const std::vector<unsigned char>& bytes, const Layout& layout) {
    return BytesOf(bytes, layout.rootBegin, layout.rootTagEnd);
}

// True when two root start tags have the same attributes but for the
// schema location hints, which a validating read with its own grammar
// ignores: the same namespace declarations above the lists.
bool SameRootTag(std::string_view a, std::string_view b);

// True when two lists' start tags read the same.
bool SameListTag(std::string_view a, std::string_view b);

// Marks again as read one item of each run of items of one kind within a
// list whose items `leftOut` all marks, so that the read of the part still
// sees the order of the kinds: the shortest of the run, the cheapest to
// read (the first may be an object of thousands of entries).
void KeepOneOfEachRun(const Layout& layout, std::vector<bool>& leftOut);

// The bytes with the items marked in `leftOut` cut out, in one allocation
// of the exact size (the kept part of a large document may be most of it).
std::vector<unsigned char> WithoutItems(const std::vector<unsigned char>& bytes,
                                        const Layout& layout, const std::vector<bool>& leftOut);

}  // namespace fwcommon::document
