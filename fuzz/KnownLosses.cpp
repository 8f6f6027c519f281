#include "KnownLosses.h"

#include <memory>
#include <typeinfo>

namespace fwcommon::fuzz {
namespace {

// True for an element whose dynamic type is a family base or one of the
// intermediate bases, none of which an item can express (a plain Schedule
// is a schedule of its own and is kept).
bool IsBareBase(const Sarvo::AbstractCondition& member) {
    const std::type_info& type = typeid(member);
    return type == typeid(Sarvo::AbstractCondition) || type == typeid(Sarvo::IpHostCondition) ||
           type == typeid(Sarvo::IpPrimitive) || type == typeid(Sarvo::VpnHostCondition) ||
           type == typeid(Sarvo::InterfaceCondition) || type == typeid(Sarvo::ServiceCondition) ||
           type == typeid(Sarvo::Service) || type == typeid(Sarvo::PortRestrictionCondition) ||
           type == typeid(Sarvo::ScheduleCondition);
}

template <class Sequence>
void DropBareBases(Sequence& members) {
    for (auto it = members.begin(); it != members.end();) {
        it = IsBareBase(*it) ? members.erase(it) : it + 1;
    }
}

// Hours and minutes survive the write-back; seconds and the time zone do
// not.
xml_schema::time WithoutSeconds(const xml_schema::time& time) {
    return xml_schema::time(time.hours(), time.minutes(), 0);
}

// A plain Schedule comes back as a Daily of the same times.
template <class Sequence>
void DropSeconds(Sequence& members) {
    for (auto it = members.begin(); it != members.end(); ++it) {
        if (typeid(*it) == typeid(Sarvo::Schedule)) {
            const auto& plain = static_cast<const Sarvo::Schedule&>(*it);
            auto daily = std::make_unique<Sarvo::Daily>(plain.StartTime(), plain.EndTime());
            if (plain.Reserved()) {
                daily->Reserved(*plain.Reserved());
            }
            it = members.insert(members.erase(it), std::move(daily));
        }
        if (auto* schedule = dynamic_cast<Sarvo::Schedule*>(&*it)) {
            schedule->StartTime(WithoutSeconds(schedule->StartTime()));
            schedule->EndTime(WithoutSeconds(schedule->EndTime()));
        }
    }
}

template <class Sequence>
void PortlessTransports(Sequence& members) {
    for (auto it = members.begin(); it != members.end(); ++it) {
        if (typeid(*it) != typeid(Sarvo::ProtocolCondition)) {
            continue;
        }
        const auto& protocol = static_cast<const Sarvo::ProtocolCondition&>(*it);
        std::unique_ptr<Sarvo::ServiceCondition> replacement;
        if (protocol.Protocol() == 6) {
            replacement = std::make_unique<Sarvo::TcpCondition>(6);
        } else if (protocol.Protocol() == 17) {
            replacement = std::make_unique<Sarvo::UdpCondition>(17);
        } else {
            continue;
        }
        if (protocol.Reserved()) {
            replacement->Reserved(*protocol.Reserved());
        }
        it = members.insert(members.erase(it), std::move(replacement));
    }
}

template <class Object>
void DropBareMembers(Object& object) {
    DropBareBases(object.Inclusion());
    DropBareBases(object.Exclusion());
}

}  // namespace

void ApplyKnownLosses(Sarvo::PolicyType& policy) {
    if (!policy.NamedObjects()) {
        return;
    }
    auto& objects = *policy.NamedObjects();
    for (auto& object : objects.ScheduleObject()) {
        DropBareMembers(object);
        DropSeconds(object.Inclusion());
        DropSeconds(object.Exclusion());
    }
    for (auto& object : objects.ServiceObject()) {
        DropBareMembers(object);
        PortlessTransports(object.Inclusion());
        PortlessTransports(object.Exclusion());
    }
    for (auto& object : objects.VpnObject()) {
        DropBareMembers(object);
    }
    for (auto& object : objects.InterfaceObject()) {
        DropBareMembers(object);
    }
    for (auto& object : objects.IpObject()) {
        DropBareMembers(object);
    }
}

}  // namespace fwcommon::fuzz
