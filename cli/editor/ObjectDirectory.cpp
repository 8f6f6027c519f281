#include "ObjectDirectory.h"

#include <algorithm>

#include <fwcommon/INamedObject.h>
#include "PolicyEdit.h"
#include "PolicyIndex.h"
#include "Utf8.h"

namespace fwpolicy {
namespace {

std::string KindsText(const std::vector<fwcommon::NamedObjectType>& kinds) {
    std::string text;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        if (i > 0)
            text += i + 1 == kinds.size() ? " or " : ", ";
        text += ObjectKindWord(kinds[i]);
    }
    return text;
}

}  // namespace

std::string ObjectKindWord(fwcommon::NamedObjectType type) {
    return KindName(KindOf(type));
}

ObjectDirectory::ObjectDirectory(const fwcommon::Context& context, const std::wstring& dataname) {
    const auto list = context.GetNamedObjects(dataname);
    for (const auto& object : *list) {
        const fwcommon::INamedObject& named = *object;
        objects_.push_back({named.GetNamedObjectType(), static_cast<int>(named.GetIdentifier()),
                            ToUtf8(named.GetName())});
    }
}

ObjectTarget ObjectDirectory::Find(const std::string& name,
                                   const std::vector<fwcommon::NamedObjectType>& kinds) const {
    const ObjectTarget* other = nullptr;
    for (const ObjectTarget& object : objects_) {
        if (object.name != name)
            continue;
        if (std::find(kinds.begin(), kinds.end(), object.type) != kinds.end())
            return object;
        other = &object;
    }
    if (other) {
        throw EditError("'" + name + "' is " +
                        (other->type == fwcommon::eIpAddressObject ? "an " : "a ") +
                        ObjectKindWord(other->type) + " object, not " +
                        (kinds.front() == fwcommon::eIpAddressObject ||
                                 kinds.front() == fwcommon::eInterfaceObject
                             ? "an "
                             : "a ") +
                        KindsText(kinds) + " object");
    }
    throw EditError("no named object '" + name + "'");
}

std::string ObjectDirectory::NameOf(fwcommon::NamedObjectType type, int id) const {
    for (const ObjectTarget& object : objects_) {
        if (object.type == type && object.id == id)
            return object.name;
    }
    return {};
}

}  // namespace fwpolicy
