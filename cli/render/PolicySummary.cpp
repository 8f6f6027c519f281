#include "render/PolicySummary.h"

#include <sstream>

#include "policy/RuleSection.h"

namespace fwpolicy {
namespace {

void CountRule(const Sarvo::Rule& rule, PolicySummary& summary) {
    const std::string section = SectionOfRule(rule);
    std::size_t& count = section == "local"     ? summary.localRules
                         : section == "vpn"     ? summary.vpnRules
                         : section == "transit" ? summary.transitRules
                         : section == "tunnel"  ? summary.tunnelRules
                         : section == "nat"     ? summary.natRules
                                                : summary.unsectionedRules;
    ++count;
}

}  // namespace

PolicySummary Summarize(const Sarvo::PolicyType& policy) {
    PolicySummary summary;
    for (const Sarvo::Rule& rule : policy.Rules().Rule()) {
        CountRule(rule, summary);
    }
    if (policy.NamedObjects()) {
        const Sarvo::NamedObjects& objects = *policy.NamedObjects();
        summary.ipObjects = objects.IpObject().size();
        summary.interfaceObjects = objects.InterfaceObject().size();
        summary.vpnObjects = objects.VpnObject().size();
        summary.serviceObjects = objects.ServiceObject().size();
        summary.scheduleObjects = objects.ScheduleObject().size();
    }
    return summary;
}

std::string Describe(const PolicySummary& s) {
    std::ostringstream text;
    text << s.localRules << " local, " << s.vpnRules << " vpn, " << s.transitRules << " transit, "
         << s.tunnelRules << " tunnel, " << s.natRules << " nat";
    if (s.unsectionedRules != 0) {
        text << ", " << s.unsectionedRules << " unsectioned";
    }
    text << " rules; " << s.ipObjects << " ip, " << s.interfaceObjects << " interface, "
         << s.vpnObjects << " vpn, " << s.serviceObjects << " service, " << s.scheduleObjects
         << " schedule objects";
    return text.str();
}

}  // namespace fwpolicy
