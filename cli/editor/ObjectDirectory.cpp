#include "ObjectDirectory.h"

#include <algorithm>

#include <fwcommon/INamedObject.h>
#include "editor/PolicyEdit.h"
#include "policy/PolicyIndex.h"
#include "render/EditReport.h"
#include "text/Utf8.h"

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

std::string ObjectKindPhrase(fwcommon::NamedObjectType type) {
    const bool vowel = type == fwcommon::eIpAddressObject || type == fwcommon::eInterfaceObject;
    return (vowel ? "an " : "a ") + ObjectKindWord(type) + " object";
}

std::string ObjectPhrase(const fwcommon::INamedObject& object) {
    return ObjectKindWord(object.GetNamedObjectType()) + " object " +
           std::to_string(object.GetIdentifier()) + " " + QuotedName(object.GetName());
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
        const bool vowel = kinds.front() == fwcommon::eIpAddressObject ||
                           kinds.front() == fwcommon::eInterfaceObject;
        throw EditError("\"" + name + "\" is " + ObjectKindPhrase(other->type) + ", not " +
                        (vowel ? "an " : "a ") + KindsText(kinds) + " object");
    }
    throw EditError("no named object \"" + name + "\"");
}

std::string ObjectDirectory::NameOf(fwcommon::NamedObjectType type, int id) const {
    for (const ObjectTarget& object : objects_) {
        if (object.type == type && object.id == id)
            return object.name;
    }
    return {};
}

}  // namespace fwpolicy
