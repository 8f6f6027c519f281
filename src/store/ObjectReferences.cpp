#include "store/ObjectReferences.h"

#include <fwcommon/GenericXmlConditionDispatch.h>

namespace fwcommon {
namespace {

template <typename Condition, typename Visitor>
void VisitIfReference(Condition& condition, const Visitor& visit) {
    if (auto* reference = AsObjectReference(condition)) {
        visit(kReferencedKind<Condition>, reference->Id());
    }
}

}  // namespace

void ForEachObjectReference(Sarvo::ConditionSet& conditions, const ObjectReferenceVisitor& visit) {
    ForEachCondition(conditions, [&visit](auto& condition, ConditionPurpose::Type) {
        VisitIfReference(condition, visit);
    });
}

void ForEachObjectReference(const Sarvo::ConditionSet& conditions,
                            const ObjectReferenceReader& read) {
    ForEachCondition(conditions, [&read](const auto& condition, ConditionPurpose::Type) {
        VisitIfReference(condition, read);
    });
}

void ForEachObjectReference(Sarvo::NamedObject& object, const ObjectReferenceVisitor& visit) {
    ForEachMember(object, [&visit](auto& member, ConditionPurpose::Type) {
        VisitIfReference(member, visit);
    });
}

void ForEachObjectReference(const Sarvo::NamedObject& object, const ObjectReferenceReader& read) {
    ForEachMember(object, [&read](const auto& member, ConditionPurpose::Type) {
        VisitIfReference(member, read);
    });
}

}  // namespace fwcommon
