#include "RuleSection.h"

#include <stdexcept>

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

std::string SectionName(fwcommon::RuleType section) {
    switch (section) {
        case fwcommon::eLocalRules:
            return "local";
        case fwcommon::eVPNRules:
            return "vpn";
        case fwcommon::eTransitRules:
            return "transit";
        case fwcommon::eTunnelRules:
            return "tunnel";
        case fwcommon::eNATRules:
            return "nat";
    }
    return "";
}

fwcommon::RuleType RuleTypeOfSection(const std::string& section) {
    if (section == "local")
        return fwcommon::eLocalRules;
    if (section == "vpn")
        return fwcommon::eVPNRules;
    if (section == "transit")
        return fwcommon::eTransitRules;
    if (section == "tunnel")
        return fwcommon::eTunnelRules;
    if (section == "nat")
        return fwcommon::eNATRules;
    throw std::invalid_argument("unknown section '" + section + "'");
}

}  // namespace fwpolicy
