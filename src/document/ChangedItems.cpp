#include "document/ChangedItems.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "document/AttributeDefaults.h"
#include "document/DocumentLayout.h"
#include "document/SameMarkup.h"

namespace fwcommon::document {
namespace {

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
            if (SameListTag(list.tag, tag))
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
// document holds as they are, but one of each run of one kind within a
// list.
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
        leftOut[i] = finder && finder->Find(BytesOf(edited, item.begin, item.end));
    }
    KeepOneOfEachRun(layout, leftOut);
    return leftOut;
}

}  // namespace

std::optional<std::vector<unsigned char>> ChangedPartOf(
    const std::vector<unsigned char>& valid, const std::vector<unsigned char>& edited,
    const std::vector<AttributeDefault>& defaults) {
    const auto validLayout = ReadLayout(valid);
    const auto editedLayout = ReadLayout(edited);
    if (!validLayout || !editedLayout)
        return std::nullopt;
    // The same encoding and version, and a root start tag with the same
    // attributes but for the schema location: the same namespace
    // declarations above the lists.
    if (!SamePrologue(PrologueOf(valid, *validLayout), PrologueOf(edited, *editedLayout)) ||
        !SameRootTag(RootTagOf(valid, *validLayout), RootTagOf(edited, *editedLayout)))
        return std::nullopt;
    const ValidItems validItems(valid, *validLayout);
    const auto omittable = OmittableBelow(RootTagOf(edited, *editedLayout), defaults);
    const std::vector<bool> leftOut =
        ItemsLeftOut(edited, *editedLayout, validItems, omittable ? &*omittable : nullptr);
    // Nothing to leave out (a document rewritten in another layout): the
    // caller reads the edited bytes themselves, without a copy of them.
    if (std::find(leftOut.begin(), leftOut.end(), true) == leftOut.end())
        return std::nullopt;
    return WithoutItems(edited, *editedLayout, leftOut);
}

}  // namespace fwcommon::document
