#pragma once

#include <string>

#include <fwcommon/rules.hxx>

namespace fwpolicy {

// The section a rule belongs to by its kind, as the tool names sections
// ("local", "vpn", "transit", "tunnel", "nat"); "" for a plain Rule.
std::string SectionOfRule(const Sarvo::Rule& rule);

}  // namespace fwpolicy
