#include "display/XmlWrapper.h"

#include <limits>
#include <string>
#include <vector>

#include <boost/algorithm/string/join.hpp>
#include <boost/format.hpp>

#include <fwcommon/ProtocolDictionary.h>

namespace fwcommon {
namespace {

std::wstring TwoDigits(long long value) {
    return (boost::wformat(L"%02d") % value).str();
}
std::wstring FourDigits(long long value) {
    return (boost::wformat(L"%04d") % value).str();
}

std::wstring TimeRange(const Sarvo::Schedule& schedule) {
    return TwoDigits(schedule.StartTime().hours()) + L":" +
           TwoDigits(schedule.StartTime().minutes()) + L"-" +
           TwoDigits(schedule.EndTime().hours()) + L":" + TwoDigits(schedule.EndTime().minutes());
}

std::wstring WeekDayList(const Sarvo::WeekDays& days) {
    const std::pair<bool, const wchar_t*> all[] = {
        {days.Monday(), L"Mon"},   {days.Tuesday(), L"Tue"}, {days.Wednesday(), L"Wed"},
        {days.Thursday(), L"Thu"}, {days.Friday(), L"Fri"},  {days.Saturday(), L"Sat"},
        {days.Sunday(), L"Sun"}};
    std::vector<std::wstring> set;
    for (const auto& [isSet, name] : all) {
        if (isSet) {
            set.emplace_back(name);
        }
    }
    return boost::algorithm::join(set, L"-");
}

std::wstring WeeklyText(const Sarvo::Weekly& weekly) {
    std::wstring text = L"Weekly " + TimeRange(weekly);
    const std::wstring days = WeekDayList(weekly.WeekDays());
    return days.empty() ? text : text + L" " + days;
}

std::wstring CalendarText(const Sarvo::Calendar& calendar) {
    const auto& startDate = calendar.StartDate();
    const auto& endDate = calendar.EndDate();
    const std::wstring range =
        (boost::wformat(L"%1%/%2%/%3% %4%:%5%-%6%/%7%/%8% %9%:%10%") % TwoDigits(startDate.day()) %
         TwoDigits(startDate.month()) % FourDigits(startDate.year()) %
         TwoDigits(calendar.StartTime().hours()) % TwoDigits(calendar.StartTime().minutes()) %
         TwoDigits(endDate.day()) % TwoDigits(endDate.month()) % FourDigits(endDate.year()) %
         TwoDigits(calendar.EndTime().hours()) % TwoDigits(calendar.EndTime().minutes()))
            .str();
    return L"Calendar " + range;
}

std::wstring IcmpText(const Sarvo::IcmpCondition& icmp) {
    std::wstring text = std::to_wstring(icmp.Protocol());
    if (icmp.Type()) {
        text += L" " + std::to_wstring(*icmp.Type());
    }
    if (icmp.Code()) {
        text += L"/" + std::to_wstring(*icmp.Code());
    }
    return text;
}

long long ProtocolOf(const Sarvo::PortRestrictionCondition& condition) {
    if (const auto* tcp = dynamic_cast<const Sarvo::TcpCondition*>(&condition)) {
        return tcp->Protocol();
    }
    if (const auto* udp = dynamic_cast<const Sarvo::UdpCondition*>(&condition)) {
        return udp->Protocol();
    }
    return -1;
}

std::wstring ProtocolText(const Sarvo::ProtocolCondition& condition) {
    const long long number = condition.Protocol();
    std::wstring text = std::to_wstring(number);
    if (number < 0 || number > std::numeric_limits<int>::max()) {
        return text;
    }
    const ProtocolDictionary& dictionary = ProtocolDictionary::Instance();
    const std::wstring& name = dictionary.GetName(static_cast<int>(number));
    if (name.empty()) {
        return text;
    }
    text += L" - " + name;
    const std::wstring& description = dictionary.GetDescription(static_cast<int>(number));
    return description.empty() ? text : text + L" (" + description + L")";
}

}  // namespace

IXmlWrapper::~IXmlWrapper() = default;

std::shared_ptr<IXmlWrapper> GetXmlWrapper() {
    return std::make_shared<XmlWrapper>();
}

std::wstring XmlWrapper::ScheduleText(const Sarvo::Schedule& schedule) const {
    if (const auto* weekly = dynamic_cast<const Sarvo::Weekly*>(&schedule)) {
        return WeeklyText(*weekly);
    }
    if (const auto* calendar = dynamic_cast<const Sarvo::Calendar*>(&schedule)) {
        return CalendarText(*calendar);
    }
    if (dynamic_cast<const Sarvo::Daily*>(&schedule) != nullptr) {
        return L"Daily " + TimeRange(schedule);
    }
    return std::wstring();
}

std::wstring XmlWrapper::ScheduleConditionText(const Sarvo::ScheduleCondition& condition) const {
    if (const auto* schedule = dynamic_cast<const Sarvo::Schedule*>(&condition)) {
        return ScheduleText(*schedule);
    }
    if (const auto* ref = dynamic_cast<const Sarvo::ScheduleObjectRef*>(&condition)) {
        return L"#" + std::to_wstring(ref->Id());
    }
    if (const auto* system = dynamic_cast<const Sarvo::ScheduleSystemObjectRef*>(&condition)) {
        return system->Name();
    }
    return std::wstring();
}

std::wstring XmlWrapper::ServiceText(const Sarvo::Service& service) const {
    if (const auto* icmp = dynamic_cast<const Sarvo::IcmpCondition*>(&service)) {
        return IcmpText(*icmp);
    }
    if (const auto* ports = dynamic_cast<const Sarvo::PortRestrictionCondition*>(&service)) {
        const auto portText =
            [this](const Sarvo::PortRestrictionCondition::SourcePort_optional& p) {
                return p ? PortText(*p) : std::wstring(L"*");
            };
        return (boost::wformat(L"%1% %2%/%3%") % ProtocolOf(*ports) %
                portText(ports->SourcePort()) % portText(ports->DestinationPort()))
            .str();
    }
    if (const auto* protocol = dynamic_cast<const Sarvo::ProtocolCondition*>(&service)) {
        return ProtocolText(*protocol);
    }
    return std::wstring();
}

std::wstring XmlWrapper::ServiceConditionText(const Sarvo::ServiceCondition& condition) const {
    if (const auto* service = dynamic_cast<const Sarvo::Service*>(&condition)) {
        return ServiceText(*service);
    }
    if (const auto* ref = dynamic_cast<const Sarvo::ServiceObjectRef*>(&condition)) {
        return L"#" + std::to_wstring(ref->Id());
    }
    if (const auto* system = dynamic_cast<const Sarvo::ServiceSystemObjectRef*>(&condition)) {
        return system->Name();
    }
    return std::wstring();
}

std::wstring XmlWrapper::PortText(const Sarvo::PortPrimitive& port) const {
    if (const auto* single = dynamic_cast<const Sarvo::Port*>(&port)) {
        return std::to_wstring(single->Value());
    }
    if (const auto* range = dynamic_cast<const Sarvo::PortRange*>(&port)) {
        return std::to_wstring(range->Begin().Value()) + L"-" +
               std::to_wstring(range->End().Value());
    }
    return std::wstring();
}

}  // namespace fwcommon
