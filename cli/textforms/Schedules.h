#pragma once

#include <array>
#include <string>

namespace fwpolicy::textforms {

struct ClockTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    // "HH:MM:SS", as a policy stores it.
    std::string StoredText() const;
};

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    // "YYYY-MM-DD", as a policy stores it.
    std::string StoredText() const;
};

// A time window as an administrator writes it:
//   daily 08:00-18:00
//   weekly mon-fri 07:00-20:00      (days: mon..sun, lists and ranges: sat,sun or mon-wed,fri)
//   calendar 2026-12-24T00:00/2026-12-26T23:59
// Times take optional seconds (08:00:30). A daily or weekly window whose end
// is before its start runs past midnight.
struct ScheduleValue {
    enum class Kind { Daily, Weekly, Calendar };
    Kind kind = Kind::Daily;
    ClockTime start;
    ClockTime end;
    std::array<bool, 7> days{};  // Weekly: Monday first
    CalendarDate startDate;      // Calendar only
    CalendarDate endDate;        // Calendar only
};

// Throws TextFormError naming the bad part.
ScheduleValue ParseSchedule(const std::string& text);

// A time or date as a policy stores it ("08:00:00", "2026-12-24"); throws
// TextFormError for anything else.
ClockTime ParseStoredTime(const std::string& text);
CalendarDate ParseStoredDate(const std::string& text);

// The text ParseSchedule reads back to the same value.
std::string RenderSchedule(const ScheduleValue& schedule);

}  // namespace fwpolicy::textforms
