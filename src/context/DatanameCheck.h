#pragma once

#include <memory>
#include <string>

#include <fwcommon/Context.h>

namespace fwcommon {

// The rules of one section of a registered document; an entry without a
// store has empty sections.
std::shared_ptr<const RuleList> SectionRules(const Context::Data& data, RuleType type);

// The check every dataname argument goes through. With a registry, the
// dataname must be non-empty and registered; without one, non-empty only.
// A failure is logged at level 4 (with a registry: every registered
// dataname and the rules of its non-empty sections) and, with
// throwOnFailure, thrown as std::runtime_error "<function>.Dataname is
// empty" or "<function>.Dataname not found". Returns whether it passed.
bool CheckDataname(const char* function, const std::wstring& dataname,
                   const Context::Registry* registry, bool throwOnFailure);

}  // namespace fwcommon
