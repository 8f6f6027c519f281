#include "render/ItemNames.h"

#include <cstdint>
#include <memory>

#include <fwcommon/Context.h>
#include <fwcommon/INamedItem.h>
#include <fwcommon/INamedObject.h>

namespace fwpolicy {
namespace {

std::vector<std::wstring> Names(const fwcommon::NamedItemList& items) {
    std::vector<std::wstring> names;
    for (const auto& item : items)
        names.push_back(item->GetName());
    return names;
}

}  // namespace

std::map<ObjectPlace, ItemNames> LibraryItemNames(const Sarvo::PolicyType& policy,
                                                  const std::wstring& dataname) {
    fwcommon::Context context(dataname);
    context.AppendParsedDocument(dataname, std::unique_ptr<Sarvo::PolicyType>(policy._clone()),
                                 fwcommon::User, {}, dataname);
    std::map<ObjectPlace, ItemNames> names;
    std::map<ObjectKind, std::size_t> placed;  // how many of each kind so far
    const auto objects = context.GetNamedObjects(dataname);
    for (const auto& object : *objects) {
        // The library keeps a document Id as an unsigned identifier.
        const ObjectKey key{KindOf(object->GetNamedObjectType()),
                            static_cast<int>(static_cast<std::int32_t>(object->GetIdentifier()))};
        names[{key.kind, placed[key.kind]++}] = {key, object->GetName(),
                                                 Names(*object->GetInclusions()),
                                                 Names(*object->GetExclusions())};
    }
    return names;
}

}  // namespace fwpolicy
