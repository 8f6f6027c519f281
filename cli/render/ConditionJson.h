#pragma once

#include <nlohmann/json.hpp>

#include <fwcommon/rules.hxx>

#include "render/ConditionText.h"

namespace fwpolicy {

// A rule's conditions and action as JSON values for programs: every entry
// carries its kind, its parts as numbers and names (addresses, prefix
// lengths, ranges, ports, protocol numbers, days, times, the referenced
// object's identifier and name) and, as "text", the word the editor reads
// for it. Members keep the order they are added in. Plain values, read-only
// after construction; the names and words belong to the caller and must
// outlive this.
class ConditionJson {
public:
    using Json = nlohmann::ordered_json;

    ConditionJson(const KindedObjectNames& objects, const textforms::ProtocolNames& protocols,
                  const ConditionText& words);

    // null for a side that is not given (any host); otherwise
    // {"network": "public"|"private", ...}.
    Json Side(const Sarvo::ConditionSet::Source_optional& side) const;
    Json Service(const Sarvo::ServiceCondition& service) const;
    Json Schedule(const Sarvo::ScheduleCondition& schedule) const;

    // The rule as show --json prints it: position, identifier, name, state,
    // action with its filter flags or translation, and the conditions.
    Json Rule(const Sarvo::Rule& rule, std::size_t position) const;

    // One entry of a side, or a member of an ip, interface or vpn object.
    Json IpHost(const Sarvo::IpHostCondition& host) const;
    Json Interface(const Sarvo::InterfaceCondition& interface) const;
    Json VpnHost(const Sarvo::VpnHostCondition& host) const;

private:
    Json Reference(fwcommon::NamedObjectType kind, int id) const;
    Json Protocol(int number) const;

    const KindedObjectNames& objects_;
    const textforms::ProtocolNames& protocols_;
    const ConditionText& words_;
};

}  // namespace fwpolicy
