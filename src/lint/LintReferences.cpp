#include "lint/LintReferences.h"

#include <set>

#include <fwcommon/GenericXmlConditionDispatch.h>
#include <fwcommon/StringUtilities.h>

namespace fwcommon::lint {
namespace {

// Adds the reference of one condition when it names an object or a system
// object.
template <typename Condition>
void Collect(const Condition& condition, References& out) {
    if (const auto* reference = AsObjectReference(condition)) {
        out.objects.push_back(Reference{kReferencedKind<Condition>, reference->Id()});
    } else if (const auto* system = AsSystemReference(condition)) {
        out.systemNames.push_back(&system->Name());
    }
}

}  // namespace

void ReferencesOfRule(const Sarvo::ConditionSet& conditions, References& out) {
    out.objects.clear();
    out.systemNames.clear();
    ForEachCondition(conditions, [&out](const auto& condition, ConditionPurpose::Type) {
        Collect(condition, out);
    });
}

References ReferencesOfObject(const Sarvo::NamedObject& object) {
    References out;
    ForEachMember(object,
                  [&out](const auto& member, ConditionPurpose::Type) { Collect(member, out); });
    return out;
}

bool IsSystemObjectName(const std::wstring& name) {
    static const std::set<std::wstring> names = [] {
        std::set<std::wstring> all;
        for (std::int32_t type = 0; type < kSystemObjectTypeCount; ++type) {
            all.insert(StringUtilities::GetSystemType(static_cast<SystemObjectTypes>(type)));
        }
        return all;
    }();
    return names.count(name) != 0;
}

}  // namespace fwcommon::lint
