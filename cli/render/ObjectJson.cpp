#include "render/ObjectJson.h"

#include "text/Utf8.h"

namespace fwpolicy {

using Json = ConditionJson::Json;

template <typename Sequence, typename Entry>
void ObjectJsonWriter::Collect(const Sequence& objects, ObjectKind kind, Entry entry) {
    std::size_t place = 0;
    for (const auto& object : objects) {
        Members& members = members_[{kind, place++}];
        for (const auto& inclusion : object.Inclusion())
            members.inclusions.push_back(entry(inclusion));
        for (const auto& exclusion : object.Exclusion())
            members.exclusions.push_back(entry(exclusion));
    }
}

ObjectJsonWriter::ObjectJsonWriter(const Sarvo::PolicyType& policy)
    : protocols_(textforms::ProtocolNames::FromDictionary()),
      words_(names_, protocols_),
      json_(names_, protocols_, words_) {
    CollectKindedObjectNames(policy, names_);
    if (!policy.NamedObjects())
        return;
    const auto& o = *policy.NamedObjects();
    Collect(o.IpObject(), ObjectKind::kIp, [this](const auto& e) { return json_.IpHost(e); });
    Collect(o.InterfaceObject(), ObjectKind::kInterface,
            [this](const auto& e) { return json_.Interface(e); });
    Collect(o.VpnObject(), ObjectKind::kVpn, [this](const auto& e) { return json_.VpnHost(e); });
    Collect(o.ServiceObject(), ObjectKind::kService,
            [this](const auto& e) { return json_.Service(e); });
    Collect(o.ScheduleObject(), ObjectKind::kSchedule,
            [this](const auto& e) { return json_.Schedule(e); });
}

Json ObjectJsonWriter::Object(const ObjectEntry& object, std::size_t rules) const {
    const auto found = members_.find(PlaceOf(object));
    const Members members = found == members_.end() ? Members{} : found->second;
    return {{"kind", KindName(object.key.kind)},
            {"id", object.key.id},
            {"name", ToUtf8(object.name)},
            {"creationType", ToUtf8(object.creationType)},
            {"rules", rules},
            {"inclusions", members.inclusions},
            {"exclusions", members.exclusions}};
}

}  // namespace fwpolicy
