#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/rules.hxx>

namespace fwcommon::lint {

// A reference condition's target: the kind of object it must name and the
// Id it names.
struct Reference {
    NamedObjectType type;
    std::int32_t id;
};

// What the conditions of a rule or a named object refer to, in document
// order: named objects by Id, system objects by name (the document's).
struct References {
    std::vector<Reference> objects;
    std::vector<const std::wstring*> systemNames;
};

// Those of a rule's conditions into out, emptied first: one store serves
// every rule.
void ReferencesOfRule(const Sarvo::ConditionSet& conditions, References& out);
References ReferencesOfObject(const Sarvo::NamedObject& object);

// True when the name is one of the fifteen system object texts.
bool IsSystemObjectName(const std::wstring& name);

}  // namespace fwcommon::lint
