// Schedule condition comparison: times, kinds, week days and dates.

#include <gtest/gtest.h>

#include <fwcommon/ConditionComparator.h>

#include "ConditionRows.h"
#include "common/Conditions.h"

namespace fwcommon::test {
namespace {

using condition_comparator::CompareScheduleCondition;
using Row = ConditionRow<Sarvo::ScheduleCondition>;

const xml_schema::time kEight = Time(8, 0, 0);
const xml_schema::time kFive = Time(17, 0, 0);

std::shared_ptr<Sarvo::Schedule> PlainSchedule() {
    return std::make_shared<Sarvo::Schedule>(kEight, kFive);
}

xml_schema::date Date(int year, unsigned short month, unsigned short day) {
    return xml_schema::date(year, month, day);
}

TEST(ScheduleConditionComparison, StructureAndTimes) {
    const std::vector<Row> rows = {
        {"same daily", DailyOf(kEight, kFive), DailyOf(kEight, kFive), L""},
        {"same plain", PlainSchedule(), PlainSchedule(), L""},
        {"object references", std::make_shared<Sarvo::ScheduleObjectRef>(7),
         std::make_shared<Sarvo::ScheduleObjectRef>(7),
         L"In 'Schedules' Schedule has incorrect internal structure."},
        {"daily against system reference", DailyOf(kEight, kFive),
         std::make_shared<Sarvo::ScheduleSystemObjectRef>(L"Always"),
         L"In 'Schedules' Schedule has incorrect internal structure."},
        {"start times", DailyOf(Time(8, 30, 15), kFive), DailyOf(Time(9, 5, 0), kFive),
         L"In 'Schedules' Start time values are different: '08:30:15' and '09:05:00'."},
        {"start fraction", DailyOf(Time(8, 30, 15.5), kFive), DailyOf(Time(8, 30, 15), kFive),
         L"In 'Schedules' Start time values are different: '08:30:15' and '08:30:15'."},
        {"start time zone", DailyOf(xml_schema::time(8, 0, 0, 1, 0), kFive), DailyOf(kEight, kFive),
         L"In 'Schedules' Start time values are different: '08:00:00' and '08:00:00'."},
        {"end times", DailyOf(kEight, Time(23, 59, 59)), DailyOf(kEight, Time(0, 0, 1)),
         L"In 'Schedules' End time values are different: '23:59:59' and '00:00:01'."},
        {"start before end", DailyOf(kEight, Time(1, 0, 0)), DailyOf(kFive, Time(2, 0, 0)),
         L"In 'Schedules' Start time values are different: '08:00:00' and '17:00:00'."},
    };
    CheckRows(rows, CompareScheduleCondition, L"Schedules");
}

TEST(ScheduleConditionComparison, KindsOfSchedule) {
    const std::vector<Row> rows = {
        {"daily against weekly", DailyOf(kEight, kFive), WeeklyOf("1111100"),
         L"In 'Schedules' one of schedule condition is daily condition but the second is "
         L"another type."},
        {"plain against daily", PlainSchedule(), DailyOf(kEight, kFive),
         L"In 'Schedules' one of schedule condition is daily condition but the second is "
         L"another type."},
        {"weekly against calendar", WeeklyOf("1111100"),
         CalendarOf(Date(2024, 1, 1), Date(2024, 12, 31)),
         L"In 'Schedules' one of schedule condition is weekly condition but the second is "
         L"another type."},
        {"plain against weekly", PlainSchedule(), WeeklyOf("0000000"),
         L"In 'Schedules' one of schedule condition is weekly condition but the second is "
         L"another type."},
        {"calendar against plain", CalendarOf(Date(2024, 1, 1), Date(2024, 12, 31)),
         PlainSchedule(),
         L"One of schedule condition is calendar condition but the second is another type."},
    };
    CheckRows(rows, CompareScheduleCondition, L"Schedules");
}

TEST(ScheduleConditionComparison, WeekDaysInOrder) {
    const std::vector<Row> rows = {
        {"same days", WeeklyOf("1010101"), WeeklyOf("1010101"), L""},
        {"monday", WeeklyOf("1000000"), WeeklyOf("0000000"),
         L"In 'Schedules' Monday values are different: 'true' and 'false'."},
        {"tuesday", WeeklyOf("0000000"), WeeklyOf("0100000"),
         L"In 'Schedules' Tuesday values are different: 'false' and 'true'."},
        {"wednesday", WeeklyOf("0010000"), WeeklyOf("0000000"),
         L"In 'Schedules' Wednesday values are different: 'true' and 'false'."},
        {"thursday", WeeklyOf("0001000"), WeeklyOf("0000000"),
         L"In 'Schedules' Thursday values are different: 'true' and 'false'."},
        {"friday", WeeklyOf("0000100"), WeeklyOf("0000000"),
         L"In 'Schedules' Friday values are different: 'true' and 'false'."},
        {"saturday", WeeklyOf("0000010"), WeeklyOf("0000000"),
         L"In 'Schedules' Saturday values are different: 'true' and 'false'."},
        {"sunday", WeeklyOf("0000000"), WeeklyOf("0000001"),
         L"In 'Schedules' Sunday values are different: 'false' and 'true'."},
        {"wednesday before sunday", WeeklyOf("1111111"), WeeklyOf("1101110"),
         L"In 'Schedules' Wednesday values are different: 'true' and 'false'."},
    };
    CheckRows(rows, CompareScheduleCondition, L"Schedules");
}

TEST(ScheduleConditionComparison, CalendarDates) {
    const std::vector<Row> rows = {
        {"same dates", CalendarOf(Date(2024, 3, 1), Date(2024, 3, 31)),
         CalendarOf(Date(2024, 3, 1), Date(2024, 3, 31)), L""},
        {"start dates", CalendarOf(Date(2024, 3, 1), Date(2024, 3, 31)),
         CalendarOf(Date(2024, 3, 2), Date(2024, 3, 31)),
         L"In 'Schedules' Start date values are different: '2024-03-01' and '2024-03-02'."},
        {"start date zone", CalendarOf(xml_schema::date(2024, 3, 1, 0, 0), Date(2024, 3, 31)),
         CalendarOf(Date(2024, 3, 1), Date(2024, 3, 31)),
         L"In 'Schedules' Start date values are different: '2024-03-01' and '2024-03-01'."},
        {"end dates", CalendarOf(Date(2024, 3, 1), Date(2025, 12, 31)),
         CalendarOf(Date(2024, 3, 1), Date(999, 1, 9)),
         L"In 'Schedules' End date values are different: '2025-12-31' and '999-01-09'."},
    };
    CheckRows(rows, CompareScheduleCondition, L"Schedules");
}

}  // namespace
}  // namespace fwcommon::test
