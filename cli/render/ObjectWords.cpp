#include "render/ObjectWords.h"

#include <map>
#include <string>
#include <vector>

#include "diff/ElementFields.h"
#include "render/ConditionText.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

struct Words {
    std::vector<std::wstring> inclusions;
    std::vector<std::wstring> exclusions;
    std::wstring creationType;
};

using WordsByObject = std::map<ObjectPlace, Words>;

template <typename Sequence, typename Render>
std::vector<std::wstring> Rendered(const Sequence& entries, Render render) {
    std::vector<std::wstring> texts;
    for (const auto& entry : entries)
        texts.push_back(FromUtf8(render(entry)));
    return texts;
}

template <typename Sequence, typename Render>
void AddKind(const Sequence& objects, ObjectKind kind, Render render, WordsByObject& out) {
    std::size_t place = 0;
    for (const auto& object : objects) {
        Words& words = out[{kind, place++}];
        words.inclusions = Rendered(object.Inclusion(), render);
        words.exclusions = Rendered(object.Exclusion(), render);
        words.creationType = FromUtf8(CreationTypeWord(object.CreationType()));
    }
}

WordsByObject WordsOf(const Sarvo::PolicyType& policy) {
    WordsByObject out;
    if (!policy.NamedObjects())
        return out;
    KindedObjectNames names;
    CollectKindedObjectNames(policy, names);
    const auto protocols = textforms::ProtocolNames::FromDictionary();
    const ConditionText w(names, protocols);
    const auto& o = *policy.NamedObjects();
    AddKind(
        o.IpObject(), ObjectKind::kIp, [&w](const auto& e) { return w.IpHost(e); }, out);
    AddKind(
        o.InterfaceObject(), ObjectKind::kInterface, [&w](const auto& e) { return w.Interface(e); },
        out);
    AddKind(
        o.VpnObject(), ObjectKind::kVpn, [&w](const auto& e) { return w.VpnHost(e); }, out);
    AddKind(
        o.ServiceObject(), ObjectKind::kService, [&w](const auto& e) { return w.Service(e); }, out);
    AddKind(
        o.ScheduleObject(), ObjectKind::kSchedule, [&w](const auto& e) { return w.Schedule(e); },
        out);
    return out;
}

}  // namespace

void UseWords(const Sarvo::PolicyType& policy, PolicyIndex& index) {
    const WordsByObject words = WordsOf(policy);
    for (ObjectEntry& object : index.objects) {
        const auto found = words.find(PlaceOf(object));
        if (found == words.end())
            continue;
        object.inclusions = found->second.inclusions;
        object.exclusions = found->second.exclusions;
        object.creationType = found->second.creationType;
    }
}

void UseCreationTypeWords(const Sarvo::PolicyType& policy, PolicyIndex& index) {
    const WordsByObject words = WordsOf(policy);
    for (ObjectEntry& object : index.objects) {
        const auto found = words.find(PlaceOf(object));
        if (found != words.end())
            object.creationType = found->second.creationType;
    }
}

}  // namespace fwpolicy
