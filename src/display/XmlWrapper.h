#pragma once

#include <string>

#include <fwcommon/IXmlWrapper.h>

namespace fwcommon {

// The library's display texts of conditions; see IXmlWrapper for the
// texts. Holds nothing, so one instance may serve every thread.
class XmlWrapper : public virtual IXmlWrapper {
public:
    std::wstring ScheduleText(const Sarvo::Schedule& schedule) const override;
    std::wstring ScheduleConditionText(const Sarvo::ScheduleCondition& condition) const override;
    std::wstring ServiceText(const Sarvo::Service& service) const override;
    std::wstring ServiceConditionText(const Sarvo::ServiceCondition& condition) const override;
    std::wstring VpnSystemObjectRefText(const Sarvo::VpnSystemObjectRef& ref) const override;
    std::wstring VpnNodeIdText(const Sarvo::VpnNodeId& node) const override;
    std::wstring VpnNetworkIdText(const Sarvo::VpnNetworkId& network) const override;
    std::wstring VpnNameTemplateText(const Sarvo::VpnNameTemplate& nameTemplate) const override;
    std::wstring VpnHostConditionText(const Sarvo::VpnHostCondition& condition) const override;
    std::wstring InterfaceConditionText(const Sarvo::InterfaceCondition& condition) const override;
    std::wstring PortText(const Sarvo::PortPrimitive& port) const override;
    std::wstring IpSystemObjectRefText(const Sarvo::IpSystemObjectRef& ref) const override;
    std::wstring IpPrimitiveText(const Sarvo::IpPrimitive& primitive) const override;
    std::wstring DomainNameText(const Sarvo::DomainName& name) const override;
    std::wstring IpHostConditionText(const Sarvo::IpHostCondition& condition) const override;
};

}  // namespace fwcommon
