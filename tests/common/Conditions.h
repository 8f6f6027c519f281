#pragma once

// Short builders of conditions for the comparison tests. Each returns a new
// element owned by a shared pointer.

#include <memory>
#include <optional>
#include <string>

#include <fwcommon/rules.hxx>

namespace fwcommon::test {

inline std::shared_ptr<Sarvo::IpAddress> Address(const std::wstring& value) {
    return std::make_shared<Sarvo::IpAddress>(value);
}
inline std::shared_ptr<Sarvo::IpMask> Mask(const std::wstring& net, const std::wstring& mask) {
    return std::make_shared<Sarvo::IpMask>(Sarvo::IpAddress(net), Sarvo::IpAddress(mask));
}
inline std::shared_ptr<Sarvo::IpRange> Range(const std::wstring& begin, const std::wstring& end) {
    return std::make_shared<Sarvo::IpRange>(Sarvo::IpAddress(begin), Sarvo::IpAddress(end));
}

inline std::shared_ptr<Sarvo::Port> PortOf(long long value) {
    return std::make_shared<Sarvo::Port>(value);
}
inline std::shared_ptr<Sarvo::PortRange> PortsOf(long long begin, long long end) {
    return std::make_shared<Sarvo::PortRange>(Sarvo::Port(begin), Sarvo::Port(end));
}

// A TCP or UDP condition; a null port leaves that side absent.
template <typename Condition>
std::shared_ptr<Condition> Restriction(const std::shared_ptr<Sarvo::PortPrimitive>& source,
                                       const std::shared_ptr<Sarvo::PortPrimitive>& destination,
                                       long long protocol = 6) {
    auto condition = std::make_shared<Condition>(protocol);
    if (source) {
        condition->SourcePort(*source);
    }
    if (destination) {
        condition->DestinationPort(*destination);
    }
    return condition;
}

inline std::shared_ptr<Sarvo::IcmpCondition> Icmp(std::optional<long long> type,
                                                  std::optional<long long> code,
                                                  long long protocol = 1) {
    auto condition = std::make_shared<Sarvo::IcmpCondition>(protocol);
    if (type) {
        condition->Type(*type);
    }
    if (code) {
        condition->Code(*code);
    }
    return condition;
}

inline xml_schema::time Time(unsigned short hours, unsigned short minutes, double seconds) {
    return xml_schema::time(hours, minutes, seconds);
}

inline std::shared_ptr<Sarvo::Daily> DailyOf(const xml_schema::time& start,
                                             const xml_schema::time& end) {
    return std::make_shared<Sarvo::Daily>(start, end);
}

// Weekly from 08:00 to 17:00; days as seven characters, "1" for a set day.
inline std::shared_ptr<Sarvo::Weekly> WeeklyOf(const char* days) {
    auto on = [days](int i) { return days[i] == '1'; };
    return std::make_shared<Sarvo::Weekly>(
        Time(8, 0, 0), Time(17, 0, 0),
        Sarvo::WeekDays(on(0), on(1), on(2), on(3), on(4), on(5), on(6)));
}

inline std::shared_ptr<Sarvo::Calendar> CalendarOf(const xml_schema::date& start,
                                                   const xml_schema::date& end) {
    return std::make_shared<Sarvo::Calendar>(Time(8, 0, 0), Time(17, 0, 0), start, end);
}

}  // namespace fwcommon::test
