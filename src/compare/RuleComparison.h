#pragma once

#include <string>

#include <fwcommon/rules.hxx>

// The parts of the strict rule comparison. Each gives true when its part is
// equal and otherwise writes the message of the difference into details
// and gives false.
namespace fwcommon::tools {

// Both Filter or both Translation, with the same fields.
bool CompareRuleActions(const Sarvo::Action& first, const Sarvo::Action& second,
                        std::wstring& details);

// One network side ("Source" or "Destination") of two condition sets.
// Sides of neither network kind give false and leave details alone.
bool CompareNetworkSides(const Sarvo::ConditionSet::Source_optional& first,
                         const Sarvo::ConditionSet::Source_optional& second,
                         const std::wstring& sideName, std::wstring& details);

// Service conditions ("Services") and schedule conditions ("Schedules"):
// count, then pairwise in order.
bool CompareServiceLists(const Sarvo::ConditionSet& first, const Sarvo::ConditionSet& second,
                         std::wstring& details);
bool CompareScheduleLists(const Sarvo::ConditionSet& first, const Sarvo::ConditionSet& second,
                          std::wstring& details);

}  // namespace fwcommon::tools
