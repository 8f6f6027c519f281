#pragma once

#include <memory>
#include <string>

#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// Builds one sample named object of each kind: CreationType "User", the
// given Name and Id, exactly one Inclusion member and no Exclusion member.
// Overloads without arguments use the name shown beside them and Id 1.
//
// Stateless: the caller owns each returned object; any thread may call.
class FWCOMMON_EXPORT XmlNamedObjectFactory {
public:
    // Member: SimpleInterface "eth0". Default name "simple interface object".
    static std::shared_ptr<Sarvo::InterfaceObject> CreateSimpleInterfaceObject();
    static std::shared_ptr<Sarvo::InterfaceObject> CreateSimpleInterfaceObject(
        const std::wstring& name, int id);

    // Member: IpAddress "127.0.0.1". Default name "simple ip object".
    static std::shared_ptr<Sarvo::IpObject> CreateSimpleIpObject();
    static std::shared_ptr<Sarvo::IpObject> CreateSimpleIpObject(const std::wstring& name, int id);

    // Member: VpnNodeId 2. Default name "simple vpn object".
    static std::shared_ptr<Sarvo::VpnObject> CreateSimpleVpnObject();
    static std::shared_ptr<Sarvo::VpnObject> CreateSimpleVpnObject(const std::wstring& name,
                                                                   int id);

    // Member: ProtocolCondition 6. Default name "simple service object".
    static std::shared_ptr<Sarvo::ServiceObject> CreateSimpleServiceObject();
    static std::shared_ptr<Sarvo::ServiceObject> CreateSimpleServiceObject(const std::wstring& name,
                                                                           int id);

    // Member: Daily from 06:00:00 to 18:00:00, no time zone. Default name
    // "simple schedule object".
    static std::shared_ptr<Sarvo::ScheduleObject> CreateSimpleScheduleObject();
    static std::shared_ptr<Sarvo::ScheduleObject> CreateSimpleScheduleObject(
        const std::wstring& name, int id);
};

}  // namespace fwcommon
