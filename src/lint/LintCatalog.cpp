#include "lint/LintCatalog.h"

namespace fwcommon::lint {
namespace {

template <typename Sequence>
void Append(const Sequence& objects, NamedObjectType type, bool shared,
            std::vector<ObjectEntry>& out) {
    for (const auto& object : objects) {
        out.push_back(ObjectEntry{&object, type, shared});
    }
}

}  // namespace

std::vector<ObjectEntry> ObjectsOf(const Sarvo::PolicyType& policy, bool shared) {
    std::vector<ObjectEntry> out;
    if (!policy.NamedObjects()) {
        return out;
    }
    const Sarvo::NamedObjects& objects = *policy.NamedObjects();
    Append(objects.ScheduleObject(), eScheduleObject, shared, out);
    Append(objects.ServiceObject(), eServiceObject, shared, out);
    Append(objects.VpnObject(), eSarvoGroupObject, shared, out);
    Append(objects.InterfaceObject(), eInterfaceObject, shared, out);
    Append(objects.IpObject(), eIpAddressObject, shared, out);
    return out;
}

const wchar_t* ObjectKindName(NamedObjectType type) {
    switch (type) {
        case eInterfaceObject:
            return L"interface object";
        case eIpAddressObject:
            return L"ip object";
        case eServiceObject:
            return L"service object";
        case eScheduleObject:
            return L"schedule object";
        case eSarvoGroupObject:
            return L"vpn object";
    }
    return L"named object";
}

std::int64_t ObjectCatalog::Key(NamedObjectType type, std::int32_t id) {
    return (static_cast<std::int64_t>(type) << 32) |
           static_cast<std::int64_t>(static_cast<std::uint32_t>(id));
}

void ObjectCatalog::Add(const ObjectEntry& entry) {
    byKey_[Key(entry.type, entry.element->Id())].push_back(entry);
}

const ObjectEntry* ObjectCatalog::Find(NamedObjectType type, std::int32_t id) const {
    const auto found = byKey_.find(Key(type, id));
    if (found == byKey_.end() || found->second.size() != 1) {
        return nullptr;
    }
    return &found->second.front();
}

std::size_t ObjectCatalog::Count(NamedObjectType type, std::int32_t id) const {
    const auto found = byKey_.find(Key(type, id));
    return found == byKey_.end() ? 0 : found->second.size();
}

}  // namespace fwcommon::lint
