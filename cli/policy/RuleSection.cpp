#include "policy/RuleSection.h"

#include <stdexcept>

#include <fwcommon/RuleType.h>

#include "text/Utf8.h"

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
    return ToUtf8(fwcommon::RuleSectionWord(section));
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
    // In the words CLI11's choices give for the other verbs' --section.
    throw std::invalid_argument("'" + section + "' is not one of local, vpn, transit, tunnel, nat");
}

}  // namespace fwpolicy
