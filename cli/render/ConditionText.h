#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/rules.hxx>

#include "ProtocolNames.h"

namespace fwpolicy {

// Names of named objects by kind and identifier (objects of different
// kinds may share an identifier), UTF-8.
using KindedObjectNames = std::map<std::pair<fwcommon::NamedObjectType, int>, std::string>;

// Adds the names of the policy's named objects; a name already known for a
// kind and identifier stays.
void CollectKindedObjectNames(const Sarvo::PolicyType& policy, KindedObjectNames& names);

// Renders a rule's conditions in the text forms the editor reads
// ("10.1.0.0/24", "interface:eth1", "tcp/22", "weekly mon-fri 07:00-20:00",
// @"Office LAN"), so that what the tool prints can be given back to it.
// A reference to an object that is not known is written "@#ID"; an address
// the text forms cannot hold is written as the document stores it, a
// condition of a bare base type as "(service without a value)". Plain
// values, read-only after construction.
class ConditionText {
public:
    ConditionText(const KindedObjectNames& objects, const textforms::ProtocolNames& protocols);

    // The entries of a source or destination: the interface first, then
    // the hosts, as the document lists them.
    std::vector<std::string> SideEntries(const Sarvo::NetworkCondition& side) const;
    std::string Service(const Sarvo::ServiceCondition& service) const;
    std::string Schedule(const Sarvo::ScheduleCondition& schedule) const;
    // One entry of a side or of an ip, interface or vpn object.
    std::string IpHost(const Sarvo::IpHostCondition& host) const;
    std::string Interface(const Sarvo::InterfaceCondition& interface) const;
    std::string VpnHost(const Sarvo::VpnHostCondition& host) const;

private:
    std::string Reference(fwcommon::NamedObjectType kind, int id) const;

    const KindedObjectNames& objects_;
    const textforms::ProtocolNames& protocols_;
};

}  // namespace fwpolicy
