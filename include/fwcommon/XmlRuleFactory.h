#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// Builds complete sample rules, each with one kind of condition.
//
// Every rule starts as the simple rule: a plain Sarvo::Rule (no rule kind,
// no Section) with RuleId and OrderId 100000, Name "name", CreationType
// "User", an empty ConditionSet, a Filter action "Pass" with its flags at
// their schema defaults, and IsActive true. Each method adds the condition
// its name says; "Local" builds a PublicNetwork Source, "Vpn" a
// PrivateNetwork Source. Overloads without arguments use the sample values
// shown beside them.
//
// Narrow-string arguments are converted to wide strings under the user's
// default locale (StringUtilities); ASCII text is kept unchanged. Numbers
// are stored as given (identifiers into the 32-bit Id elements).
//
// Times are read as Boost.Date_Time durations ("08:30:15", "8:30", fields
// separated by any of "-:,."): the fraction of a second is dropped and no
// time zone is set. Parser errors propagate unchanged; a well-formed
// duration that is not a time of day (negative, or 24 hours or more)
// throws std::out_of_range. Dates are read as year-month-day Gregorian
// dates ("2024-03-01"), without a time zone; an invalid date throws the
// Boost.Gregorian errors (boost::gregorian::bad_day_of_month "Day of month
// value is out of range 1..31", bad_year "Year is out of valid range:
// 1400..10000", ...).
//
// Stateless: the caller owns each returned rule; any thread may call.
class FWCOMMON_EXPORT XmlRuleFactory {
public:
    using RulePtr = std::shared_ptr<Sarvo::Rule>;

    static RulePtr CreateSimpleXmlRule();
    // The simple rule with a Translation action that sets nothing.
    static RulePtr CreateSimpleTranslationXmlRule();

    // Source interface conditions.
    static RulePtr CreateLocalXmlRuleWithSimpleInterface();  // "eth0"
    static RulePtr CreateLocalXmlRuleWithSimpleInterface(const std::string& interfaceName);
    static RulePtr CreateLocalXmlRuleWithInterfaceObjectRef();  // 666
    static RulePtr CreateLocalXmlRuleWithInterfaceObjectRef(std::uint32_t objectId);
    static RulePtr CreateLocalXmlRuleWithInterfaceByIpAddress();  // "10.0.0.1"
    static RulePtr CreateLocalXmlRuleWithInterfaceByIpAddress(const std::string& address);
    static RulePtr CreateLocalXmlRuleWithInterfaceByIpRange();  // "10.0.0.1" - "10.0.0.254"
    static RulePtr CreateLocalXmlRuleWithInterfaceByIpRange(const std::string& first,
                                                            const std::string& last);
    static RulePtr CreateLocalXmlRuleWithInterfaceByIpMask();  // "10.0.0.0" / "255.255.255.0"
    static RulePtr CreateLocalXmlRuleWithInterfaceByIpMask(const std::string& network,
                                                           const std::string& mask);

    // Source IP host conditions (one member each).
    static RulePtr CreateLocalXmlRuleWithIpAddress();  // "10.0.0.1"
    static RulePtr CreateLocalXmlRuleWithIpAddress(const std::string& address);
    static RulePtr CreateLocalXmlRuleWithIpRange();  // "10.0.0.1" - "10.0.0.254"
    static RulePtr CreateLocalXmlRuleWithIpRange(const std::string& first, const std::string& last);
    static RulePtr CreateLocalXmlRuleWithIpMask();  // "10.0.0.0" / "255.255.255.0"
    static RulePtr CreateLocalXmlRuleWithIpMask(const std::string& network,
                                                const std::string& mask);
    static RulePtr CreateLocalXmlRuleWithDomaineName();  // "www.example.com"
    static RulePtr CreateLocalXmlRuleWithDomaineName(const std::string& domainName);
    static RulePtr CreateLocalXmlRuleWithIpObjectRef();  // 666
    static RulePtr CreateLocalXmlRuleWithIpObjectRef(std::uint32_t objectId);
    static RulePtr CreateLocalXmlRuleWithIpSystemObjectRef();  // "AllClients"
    static RulePtr CreateLocalXmlRuleWithIpSystemObjectRef(const std::string& systemObjectName);

    // Source VPN host conditions (one member each).
    static RulePtr CreateVpnXmlRuleWithVpnNodeId();  // 100
    static RulePtr CreateVpnXmlRuleWithVpnNodeId(std::uint32_t nodeId);
    static RulePtr CreateVpnXmlRuleWithVpnNetworkId();  // 100
    static RulePtr CreateVpnXmlRuleWithVpnNetworkId(std::uint32_t networkId);
    static RulePtr CreateVpnXmlRuleWithVpnNameTemplate();  // "nameTemplate"
    static RulePtr CreateVpnXmlRuleWithVpnNameTemplate(const std::string& nameTemplate);
    static RulePtr CreateVpnXmlRuleWithVpnObjectRef();  // 667
    static RulePtr CreateVpnXmlRuleWithVpnObjectRef(std::uint32_t objectId);
    static RulePtr CreateVpnXmlRuleWithVpnSystemObjectRef();  // "AllClients"
    static RulePtr CreateVpnXmlRuleWithVpnSystemObjectRef(const std::string& systemObjectName);

    // One service condition each.
    static RulePtr CreateServiceRuleWithProtocol(std::uint32_t protocol);
    // Protocol 1 with both Type and Code set.
    static RulePtr CreateIcmpServiceRule(std::uint32_t icmpType, std::uint32_t icmpCode);
    // Protocol 6 with a Port on each side.
    static RulePtr CreateTcpServiceRuleWithPort(std::uint32_t sourcePort,
                                                std::uint32_t destinationPort);
    // Protocol 6 with a PortRange (Begin, End) on each side.
    static RulePtr CreateTcpServiceRuleWithPortRange(std::uint32_t sourceFirst,
                                                     std::uint32_t sourceLast,
                                                     std::uint32_t destinationFirst,
                                                     std::uint32_t destinationLast);

    // One schedule condition each.
    static RulePtr CreateDailyScheduleRule(const std::string& startTime,
                                           const std::string& endTime);
    static RulePtr CreateWeeklyScheduleRule(const std::string& startTime,
                                            const std::string& endTime, bool monday, bool tuesday,
                                            bool wednesday, bool thursday, bool friday,
                                            bool saturday, bool sunday);
    static RulePtr CreateCalendarScheduleRule(const std::string& startTime,
                                              const std::string& endTime,
                                              const std::string& startDate,
                                              const std::string& endDate);
};

}  // namespace fwcommon
