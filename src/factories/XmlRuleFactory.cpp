// Sample rules: the simple rule plus one condition each.

#include <fwcommon/XmlRuleFactory.h>

#include <memory>
#include <utility>

#include <fwcommon/StringUtilities.h>

#include "factories/ScheduleText.h"

namespace fwcommon {

namespace {

using RulePtr = XmlRuleFactory::RulePtr;

const long long kSampleRuleId = 100000;
const long long kSampleOrderId = 100000;

std::wstring Wide(const std::string& text) {
    std::wstring wide;
    StringUtilities::MultiByteStringToWideString(text, wide);
    return wide;
}

RulePtr RuleWithAction(const Sarvo::Action& action) {
    auto rule =
        std::make_shared<Sarvo::Rule>(kSampleRuleId, kSampleOrderId, L"name",
                                      Sarvo::CreationTypes::User, Sarvo::ConditionSet(), action);
    rule->IsActive(true);
    return rule;
}

RulePtr RuleWithSource(std::unique_ptr<Sarvo::NetworkCondition> side) {
    RulePtr rule = XmlRuleFactory::CreateSimpleXmlRule();
    rule->ConditionSet().Source(std::move(side));
    return rule;
}

RulePtr RuleWithInterface(std::unique_ptr<Sarvo::InterfaceCondition> condition) {
    auto side = std::make_unique<Sarvo::PublicNetwork>();
    side->InterfaceCondition(std::move(condition));
    return RuleWithSource(std::move(side));
}

RulePtr RuleWithInterfaceByIp(std::unique_ptr<Sarvo::IpPrimitive> address) {
    return RuleWithInterface(std::make_unique<Sarvo::InterfaceByIp>(std::move(address)));
}

RulePtr RuleWithIpHost(std::unique_ptr<Sarvo::IpHostCondition> condition) {
    auto side = std::make_unique<Sarvo::PublicNetwork>();
    side->IpHostCondition().push_back(std::move(condition));
    return RuleWithSource(std::move(side));
}

RulePtr RuleWithVpnHost(std::unique_ptr<Sarvo::VpnHostCondition> condition) {
    auto side = std::make_unique<Sarvo::PrivateNetwork>();
    side->VpnHostCondition().push_back(std::move(condition));
    return RuleWithSource(std::move(side));
}

RulePtr RuleWithService(std::unique_ptr<Sarvo::ServiceCondition> condition) {
    RulePtr rule = XmlRuleFactory::CreateSimpleXmlRule();
    rule->ConditionSet().ServiceCondition().push_back(std::move(condition));
    return rule;
}

RulePtr RuleWithSchedule(std::unique_ptr<Sarvo::ScheduleCondition> condition) {
    RulePtr rule = XmlRuleFactory::CreateSimpleXmlRule();
    rule->ConditionSet().ScheduleCondition().push_back(std::move(condition));
    return rule;
}

std::unique_ptr<Sarvo::IpAddress> Address(const std::string& address) {
    return std::make_unique<Sarvo::IpAddress>(Wide(address));
}

std::unique_ptr<Sarvo::IpRange> Range(const std::string& first, const std::string& last) {
    return std::make_unique<Sarvo::IpRange>(Sarvo::IpAddress(Wide(first)),
                                            Sarvo::IpAddress(Wide(last)));
}

std::unique_ptr<Sarvo::IpMask> Mask(const std::string& network, const std::string& mask) {
    return std::make_unique<Sarvo::IpMask>(Sarvo::IpAddress(Wide(network)),
                                           Sarvo::IpAddress(Wide(mask)));
}

std::unique_ptr<Sarvo::PortRange> Ports(std::uint32_t first, std::uint32_t last) {
    return std::make_unique<Sarvo::PortRange>(Sarvo::Port(first), Sarvo::Port(last));
}

}  // namespace

RulePtr XmlRuleFactory::CreateSimpleXmlRule() {
    return RuleWithAction(Sarvo::Filter(Sarvo::ActionTypes::Pass));
}

RulePtr XmlRuleFactory::CreateSimpleTranslationXmlRule() {
    Sarvo::Translation translation;
    translation.IsTranslatedIntoOutboundInterface(false);
    return RuleWithAction(translation);
}

RulePtr XmlRuleFactory::CreateLocalXmlRuleWithSimpleInterface() {
    return CreateLocalXmlRuleWithSimpleInterface("eth0");
}

RulePtr XmlRuleFactory::CreateLocalXmlRuleWithSimpleInterface(const std::string& interfaceName) {
    return RuleWithInterface(std::make_unique<Sarvo::SimpleInterface>(Wide(interfaceName)));
}

RulePtr XmlRuleFactory::CreateLocalXmlRuleWithInterfaceObjectRef() {
    return CreateLocalXmlRuleWithInterfaceObjectRef(666);
}

RulePtr XmlRuleFactory::CreateLocalXmlRuleWithInterfaceObjectRef(std::uint32_t objectId) {
    return RuleWithInterface(
        std::make_unique<Sarvo::InterfaceObjectRef>(static_cast<int>(objectId)));
}

RulePtr XmlRuleFactory::CreateLocalXmlRuleWithInterfaceByIpAddress() {
    return CreateLocalXmlRuleWithInterfaceByIpAddress("10.0.0.1");
}

RulePtr XmlRuleFactory::CreateLocalXmlRuleWithInterfaceByIpAddress(const std::string& address) {
    return RuleWithInterfaceByIp(Address(address));
}

RulePtr XmlRuleFactory::CreateLocalXmlRuleWithInterfaceByIpRange() {
    return CreateLocalXmlRuleWithInterfaceByIpRange("10.0.0.1", "10.0.0.254");
}

RulePtr XmlRuleFactory::CreateLocalXmlRuleWithInterfaceByIpRange(const std::string& first,
                                                                 const std::string& last) {
    return RuleWithInterfaceByIp(Range(first, last));
}

RulePtr XmlRuleFactory::CreateLocalXmlRuleWithInterfaceByIpMask() {
    return CreateLocalXmlRuleWithInterfaceByIpMask("10.0.0.0", "255.255.255.0");
}

RulePtr XmlRuleFactory::CreateLocalXmlRuleWithInterfaceByIpMask(const std::string& network,
                                                                const std::string& mask) {
    return RuleWithInterfaceByIp(Mask(network, mask));
}

RulePtr XmlRuleFactory::CreateLocalXmlRuleWithIpAddress() {
    return CreateLocalXmlRuleWithIpAddress("10.0.0.1");
}

RulePtr XmlRuleFactory::CreateLocalXmlRuleWithIpAddress(const std::string& address) {
    return RuleWithIpHost(Address(address));
}

RulePtr XmlRuleFactory::CreateLocalXmlRuleWithIpRange() {
    return CreateLocalXmlRuleWithIpRange("10.0.0.1", "10.0.0.254");
}

RulePtr XmlRuleFactory::CreateLocalXmlRuleWithIpRange(const std::string& first,
                                                      const std::string& last) {
    return RuleWithIpHost(Range(first, last));
}

RulePtr XmlRuleFactory::CreateLocalXmlRuleWithIpMask() {
    return CreateLocalXmlRuleWithIpMask("10.0.0.0", "255.255.255.0");
}

RulePtr XmlRuleFactory::CreateLocalXmlRuleWithIpMask(const std::string& network,
                                                     const std::string& mask) {
    return RuleWithIpHost(Mask(network, mask));
}

RulePtr XmlRuleFactory::CreateLocalXmlRuleWithDomaineName() {
    return CreateLocalXmlRuleWithDomaineName("www.example.com");
}

RulePtr XmlRuleFactory::CreateLocalXmlRuleWithDomaineName(const std::string& domainName) {
    return RuleWithIpHost(std::make_unique<Sarvo::DomainName>(Wide(domainName)));
}

RulePtr XmlRuleFactory::CreateLocalXmlRuleWithIpObjectRef() {
    return CreateLocalXmlRuleWithIpObjectRef(666);
}

RulePtr XmlRuleFactory::CreateLocalXmlRuleWithIpObjectRef(std::uint32_t objectId) {
    return RuleWithIpHost(std::make_unique<Sarvo::IpObjectRef>(static_cast<int>(objectId)));
}

RulePtr XmlRuleFactory::CreateLocalXmlRuleWithIpSystemObjectRef() {
    return CreateLocalXmlRuleWithIpSystemObjectRef("AllClients");
}

RulePtr XmlRuleFactory::CreateLocalXmlRuleWithIpSystemObjectRef(
    const std::string& systemObjectName) {
    return RuleWithIpHost(std::make_unique<Sarvo::IpSystemObjectRef>(Wide(systemObjectName)));
}

RulePtr XmlRuleFactory::CreateVpnXmlRuleWithVpnNodeId() {
    return CreateVpnXmlRuleWithVpnNodeId(100);
}

RulePtr XmlRuleFactory::CreateVpnXmlRuleWithVpnNodeId(std::uint32_t nodeId) {
    return RuleWithVpnHost(std::make_unique<Sarvo::VpnNodeId>(nodeId));
}

RulePtr XmlRuleFactory::CreateVpnXmlRuleWithVpnNetworkId() {
    return CreateVpnXmlRuleWithVpnNetworkId(100);
}

RulePtr XmlRuleFactory::CreateVpnXmlRuleWithVpnNetworkId(std::uint32_t networkId) {
    return RuleWithVpnHost(std::make_unique<Sarvo::VpnNetworkId>(networkId));
}

RulePtr XmlRuleFactory::CreateVpnXmlRuleWithVpnNameTemplate() {
    return CreateVpnXmlRuleWithVpnNameTemplate("nameTemplate");
}

RulePtr XmlRuleFactory::CreateVpnXmlRuleWithVpnNameTemplate(const std::string& nameTemplate) {
    return RuleWithVpnHost(std::make_unique<Sarvo::VpnNameTemplate>(Wide(nameTemplate)));
}

RulePtr XmlRuleFactory::CreateVpnXmlRuleWithVpnObjectRef() {
    return CreateVpnXmlRuleWithVpnObjectRef(667);
}

RulePtr XmlRuleFactory::CreateVpnXmlRuleWithVpnObjectRef(std::uint32_t objectId) {
    return RuleWithVpnHost(std::make_unique<Sarvo::VpnObjectRef>(static_cast<int>(objectId)));
}

RulePtr XmlRuleFactory::CreateVpnXmlRuleWithVpnSystemObjectRef() {
    return CreateVpnXmlRuleWithVpnSystemObjectRef("AllClients");
}

RulePtr XmlRuleFactory::CreateVpnXmlRuleWithVpnSystemObjectRef(
    const std::string& systemObjectName) {
    return RuleWithVpnHost(std::make_unique<Sarvo::VpnSystemObjectRef>(Wide(systemObjectName)));
}

RulePtr XmlRuleFactory::CreateServiceRuleWithProtocol(std::uint32_t protocol) {
    return RuleWithService(std::make_unique<Sarvo::ProtocolCondition>(protocol));
}

RulePtr XmlRuleFactory::CreateIcmpServiceRule(std::uint32_t icmpType, std::uint32_t icmpCode) {
    auto condition = std::make_unique<Sarvo::IcmpCondition>(1);
    condition->Type(icmpType);
    condition->Code(icmpCode);
    return RuleWithService(std::move(condition));
}

RulePtr XmlRuleFactory::CreateTcpServiceRuleWithPort(std::uint32_t sourcePort,
                                                     std::uint32_t destinationPort) {
    auto condition = std::make_unique<Sarvo::TcpCondition>(6);
    condition->SourcePort(std::make_unique<Sarvo::Port>(sourcePort));
    condition->DestinationPort(std::make_unique<Sarvo::Port>(destinationPort));
    return RuleWithService(std::move(condition));
}

RulePtr XmlRuleFactory::CreateTcpServiceRuleWithPortRange(std::uint32_t sourceFirst,
                                                          std::uint32_t sourceLast,
                                                          std::uint32_t destinationFirst,
                                                          std::uint32_t destinationLast) {
    auto condition = std::make_unique<Sarvo::TcpCondition>(6);
    condition->SourcePort(Ports(sourceFirst, sourceLast));
    condition->DestinationPort(Ports(destinationFirst, destinationLast));
    return RuleWithService(std::move(condition));
}

RulePtr XmlRuleFactory::CreateDailyScheduleRule(const std::string& startTime,
                                                const std::string& endTime) {
    return RuleWithSchedule(std::make_unique<Sarvo::Daily>(tools::ParseTimeOfDay(startTime),
                                                           tools::ParseTimeOfDay(endTime)));
}

RulePtr XmlRuleFactory::CreateWeeklyScheduleRule(const std::string& startTime,
                                                 const std::string& endTime, bool monday,
                                                 bool tuesday, bool wednesday, bool thursday,
                                                 bool friday, bool saturday, bool sunday) {
    const Sarvo::WeekDays days(monday, tuesday, wednesday, thursday, friday, saturday, sunday);
    return RuleWithSchedule(std::make_unique<Sarvo::Weekly>(tools::ParseTimeOfDay(startTime),
                                                            tools::ParseTimeOfDay(endTime), days));
}

RulePtr XmlRuleFactory::CreateCalendarScheduleRule(const std::string& startTime,
                                                   const std::string& endTime,
                                                   const std::string& startDate,
                                                   const std::string& endDate) {
    return RuleWithSchedule(std::make_unique<Sarvo::Calendar>(
        tools::ParseTimeOfDay(startTime), tools::ParseTimeOfDay(endTime),
        tools::ParseDate(startDate), tools::ParseDate(endDate)));
}

}  // namespace fwcommon
