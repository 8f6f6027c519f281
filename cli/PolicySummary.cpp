#include "PolicySummary.h"

#include <sstream>

namespace fwpolicy {
namespace {

void CountRule(const Sarvo::Rule& rule, PolicySummary& summary) {
    if (dynamic_cast<const Sarvo::LocalRule*>(&rule)) {
        ++summary.localRules;
    } else if (dynamic_cast<const Sarvo::VpnRule*>(&rule)) {
        ++summary.vpnRules;
    } else if (dynamic_cast<const Sarvo::TransitRule*>(&rule)) {
        ++summary.transitRules;
    } else if (dynamic_cast<const Sarvo::TunnelingRule*>(&rule)) {
        ++summary.tunnelRules;
    } else if (dynamic_cast<const Sarvo::NatRule*>(&rule)) {
        ++summary.natRules;
    } else {
        ++summary.unsectionedRules;
    }
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
