#include "RuleSection.h"

namespace fwpolicy {

std::string SectionOfRule(const Sarvo::Rule& rule) {
    if (dynamic_cast<const Sarvo::LocalRule*>(&rule))
        return "local";
    if (dynamic_cast<const Sarvo::VpnRule*>(&rule))
        return "vpn";
    if (dynamic_cast<const Sarvo::TransitRule*>(&rule))
        return "transit";
    if (dynamic_cast<const Sarvo::TunnelingRule*>(&rule))
        return "tunnel";
    if (dynamic_cast<const Sarvo::NatRule*>(&rule))
        return "nat";
    return "";
}

}  // namespace fwpolicy
