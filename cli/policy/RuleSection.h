#pragma once

#include <string>

#include <fwcommon/RuleType.h>
#include <fwcommon/rules.hxx>

namespace fwpolicy {

// The section a rule belongs to by its kind, as the tool names sections
// ("local", "vpn", "transit", "tunnel", "nat"); "" for a plain Rule.
std::string SectionOfRule(const Sarvo::Rule& rule);

// The tool's name of a library section ("local", "vpn", ...); "" for a
// value outside the five sections.
std::string SectionName(fwcommon::RuleType section);

// The library's section of a tool section name. Throws
// std::invalid_argument "unknown section 'NAME'" for any other name.
fwcommon::RuleType RuleTypeOfSection(const std::string& section);

}  // namespace fwpolicy
