#pragma once

#include <fwcommon/rules.hxx>

#include "FieldChange.h"
#include "render/ConditionText.h"

namespace fwpolicy {

// The fields in which two rules, named objects or options that pair up
// (same identifier and creation type, same kind and Id, same name and
// creation type) differ, in the order `show` and `objects` print them.
// Each side is rendered with the names of its own document's objects, but
// a reference counts as changed only when it points elsewhere: renaming an
// object changes no rule. The position of a rule is not compared here
// (see RuleMoves); its RuleId only when the two differ in full.

FieldChanges RuleFieldChanges(const Sarvo::Rule& before, const Sarvo::Rule& after,
                              const ConditionText& wordsBefore, const ConditionText& wordsAfter);

FieldChanges ObjectFieldChanges(const Sarvo::NamedObject& before, const Sarvo::NamedObject& after,
                                const ConditionText& wordsBefore, const ConditionText& wordsAfter);

FieldChanges OptionFieldChanges(const Sarvo::Option& before, const Sarvo::Option& after);

// A creation type as the tool names it ("policy", "user", ...).
std::string CreationTypeWord(const Sarvo::CreationTypes& type);

}  // namespace fwpolicy
