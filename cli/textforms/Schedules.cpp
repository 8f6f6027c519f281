#include "Schedules.h"

#include <cstdio>
#include <tuple>

#include "TextFormError.h"
#include "TextScan.h"

namespace fwpolicy::textforms {
namespace {

constexpr int kDaysPerWeek = 7;
constexpr unsigned long kMaxHour = 23;
constexpr unsigned long kMaxMinute = 59;
constexpr unsigned long kMaxSecond = 59;
constexpr unsigned long kMaxMonth = 12;
constexpr unsigned long kMaxYear = 9999;
constexpr std::size_t kTwoDigits = 2;
constexpr std::size_t kFourDigits = 4;
constexpr int kShortestRange = 3;  // runs of three or more days are written as a range

const char* const kDayNames[kDaysPerWeek] = {"mon", "tue", "wed", "thu", "fri", "sat", "sun"};

TextFormError BadSchedule(const std::string& text, const std::string& why) {
    return TextFormError("bad schedule " + Quoted(text) + ": " + why);
}

int Field(const std::string& whole, const std::string& text, std::size_t digits, unsigned long max,
          const std::string& what) {
    const auto value = DecimalNumber(text, max);
    if (text.size() != digits || !value)
        throw BadSchedule(whole, what + " " + Quoted(text) + " is not " + std::to_string(digits) +
                                     " digits up to " + std::to_string(max));
    return static_cast<int>(*value);
}

ClockTime ParseTime(const std::string& whole, const std::string& text, bool secondsRequired) {
    const std::vector<std::string> parts = SplitAll(text, ':');
    if (parts.size() != 3 && (secondsRequired || parts.size() != 2))
        throw BadSchedule(whole, "time " + Quoted(text) + " is not HH:MM or HH:MM:SS");
    ClockTime time;
    time.hour = Field(whole, parts[0], kTwoDigits, kMaxHour, "hour");
    time.minute = Field(whole, parts[1], kTwoDigits, kMaxMinute, "minute");
    if (parts.size() == 3)
        time.second = Field(whole, parts[2], kTwoDigits, kMaxSecond, "second");
    return time;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

CalendarDate ParseDate(const std::string& whole, const std::string& text) {
    const std::vector<std::string> parts = SplitAll(text, '-');
    if (parts.size() != 3)
        throw BadSchedule(whole, "date " + Quoted(text) + " is not YYYY-MM-DD");
    CalendarDate date;
    date.year = Field(whole, parts[0], kFourDigits, kMaxYear, "year");
    date.month = Field(whole, parts[1], kTwoDigits, kMaxMonth, "month");
    if (date.month == 0)
        throw BadSchedule(whole, "month " + Quoted(parts[1]) + " is not from 01 to 12");
    const int last = DaysInMonth(date.year, date.month);
    date.day = Field(whole, parts[2], kTwoDigits, static_cast<unsigned long>(last), "day");
    if (date.day == 0)
        throw BadSchedule(whole, "day " + Quoted(parts[2]) + " is not a day of the month");
    return date;
}

std::pair<std::string, std::string> SplitOnce(const std::string& whole, const std::string& text,
                                              char separator, const std::string& form) {
    const auto at = text.find(separator);
    if (at == std::string::npos || text.find(separator, at + 1) != std::string::npos)
        throw BadSchedule(whole, Quoted(text) + " is not " + form);
    return {text.substr(0, at), text.substr(at + 1)};
}

void ParseWindow(const std::string& whole, const std::string& text, ScheduleValue& schedule) {
    const auto [start, end] = SplitOnce(whole, text, '-', "START-END");
    schedule.start = ParseTime(whole, start, false);
    schedule.end = ParseTime(whole, end, false);
}

int DayIndex(const std::string& whole, const std::string& name) {
    const std::string lower = AsciiLower(name);
    for (int day = 0; day < kDaysPerWeek; ++day) {
        if (lower == kDayNames[day])
            return day;
    }
    throw BadSchedule(whole, "day " + Quoted(name) + " is not one of mon tue wed thu fri sat sun");
}

std::array<bool, 7> ParseDays(const std::string& whole, const std::string& text) {
    std::array<bool, 7> days{};
    for (const std::string& part : SplitAll(text, ',')) {
        const auto dash = part.find('-');
        const int first = DayIndex(whole, part.substr(0, dash));
        const int last = dash == std::string::npos ? first : DayIndex(whole, part.substr(dash + 1));
        if (last < first)
            throw BadSchedule(
                whole, "day range " + Quoted(part) + " runs backwards (the week begins on mon)");
        for (int day = first; day <= last; ++day)
            days[static_cast<std::size_t>(day)] = true;
    }
    return days;
}

bool Before(const CalendarDate& date, const ClockTime& time, const CalendarDate& otherDate,
            const ClockTime& otherTime) {
    return std::make_tuple(date.year, date.month, date.day, time.hour, time.minute, time.second) <
           std::make_tuple(otherDate.year, otherDate.month, otherDate.day, otherTime.hour,
                           otherTime.minute, otherTime.second);
}

void ParseCalendar(const std::string& whole, const std::string& text, ScheduleValue& schedule) {
    const auto [from, to] = SplitOnce(whole, text, '/', "START/END");
    const auto [fromDate, fromTime] = SplitOnce(whole, from, 'T', "DATE'T'TIME");
    const auto [toDate, toTime] = SplitOnce(whole, to, 'T', "DATE'T'TIME");
    schedule.startDate = ParseDate(whole, fromDate);
    schedule.start = ParseTime(whole, fromTime, false);
    schedule.endDate = ParseDate(whole, toDate);
    schedule.end = ParseTime(whole, toTime, false);
    if (Before(schedule.endDate, schedule.end, schedule.startDate, schedule.start))
        throw BadSchedule(whole, "it ends (" + to + ") before it begins");
}

std::string TwoDigits(int value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

std::string RenderTime(const ClockTime& time) {
    std::string text = TwoDigits(time.hour) + ":" + TwoDigits(time.minute);
    if (time.second != 0)
        text += ":" + TwoDigits(time.second);
    return text;
}

std::string RenderDays(const std::array<bool, 7>& days) {
    std::string text;
    for (int day = 0; day < kDaysPerWeek;) {
        if (!days[static_cast<std::size_t>(day)]) {
            ++day;
            continue;
        }
        int last = day;
        while (last + 1 < kDaysPerWeek && days[static_cast<std::size_t>(last + 1)])
            ++last;
        if (!text.empty())
            text += ",";
        if (last - day + 1 >= kShortestRange) {
            text += std::string(kDayNames[day]) + "-" + kDayNames[last];
        } else {
            for (int one = day; one <= last; ++one)
                text += std::string(one == day ? "" : ",") + kDayNames[one];
        }
        day = last + 1;
    }
    return text;
}

}  // namespace

std::string ClockTime::StoredText() const {
    return TwoDigits(hour) + ":" + TwoDigits(minute) + ":" + TwoDigits(second);
}

std::string CalendarDate::StoredText() const {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, month, day);
    return buffer;
}

ScheduleValue ParseSchedule(const std::string& text) {
    if (text.empty())
        throw TextFormError("a schedule is missing");
    const std::vector<std::string> words = SplitAll(text, ' ');
    const std::string kind = AsciiLower(words[0]);
    ScheduleValue schedule;
    if (kind == "daily" && words.size() == 2) {
        schedule.kind = ScheduleValue::Kind::Daily;
        ParseWindow(text, words[1], schedule);
    } else if (kind == "weekly" && words.size() == 3) {
        schedule.kind = ScheduleValue::Kind::Weekly;
        schedule.days = ParseDays(text, words[1]);
        ParseWindow(text, words[2], schedule);
    } else if (kind == "calendar" && words.size() == 2) {
        schedule.kind = ScheduleValue::Kind::Calendar;
        ParseCalendar(text, words[1], schedule);
    } else if (kind == "daily" || kind == "weekly" || kind == "calendar") {
        throw BadSchedule(text,
                          "write 'daily HH:MM-HH:MM', 'weekly DAYS HH:MM-HH:MM' or "
                          "'calendar YYYY-MM-DDTHH:MM/YYYY-MM-DDTHH:MM' (one blank between parts)");
    } else if (MeansAnything(text)) {
        throw BadSchedule(text,
                          "a rule matches at any time where it lists no schedule (show prints "
                          "*): leave the option out, or clear the list with rule set "
                          "--clear-schedules");
    } else {
        throw BadSchedule(text, Quoted(words[0]) + " is not daily, weekly or calendar");
    }
    return schedule;
}

ClockTime ParseStoredTime(const std::string& text) {
    return ParseTime(text, text, true);
}

CalendarDate ParseStoredDate(const std::string& text) {
    return ParseDate(text, text);
}

std::string RenderSchedule(const ScheduleValue& schedule) {
    const std::string window = RenderTime(schedule.start) + "-" + RenderTime(schedule.end);
    switch (schedule.kind) {
        case ScheduleValue::Kind::Daily:
            return "daily " + window;
        case ScheduleValue::Kind::Weekly:
            return "weekly " + RenderDays(schedule.days) + " " + window;
        case ScheduleValue::Kind::Calendar:
            break;
    }
    return "calendar " + schedule.startDate.StoredText() + "T" + RenderTime(schedule.start) + "/" +
           schedule.endDate.StoredText() + "T" + RenderTime(schedule.end);
}

}  // namespace fwpolicy::textforms
