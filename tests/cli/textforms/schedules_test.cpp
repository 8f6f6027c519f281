#include <gtest/gtest.h>

#include "Refusals.h"
#include "Schedules.h"
#include "TextFormError.h"

namespace fwpolicy::textforms {
namespace {

struct GoodSchedule {
    std::string text;
    ScheduleValue::Kind kind;
    std::string rendered;
};

TEST(ScheduleText, GoodFormsParseAndRenderBackToPasteableText) {
    const GoodSchedule rows[] = {
        {"daily 08:00-18:00", ScheduleValue::Kind::Daily, "daily 08:00-18:00"},
        {"daily 08:00:30-18:00:00", ScheduleValue::Kind::Daily, "daily 08:00:30-18:00"},
        {"daily 22:00-06:00", ScheduleValue::Kind::Daily, "daily 22:00-06:00"},
        {"DAILY 00:00-23:59:59", ScheduleValue::Kind::Daily, "daily 00:00-23:59:59"},
        {"weekly mon-fri 07:00-20:00", ScheduleValue::Kind::Weekly, "weekly mon-fri 07:00-20:00"},
        {"weekly sat,sun 10:00-12:00", ScheduleValue::Kind::Weekly, "weekly sat,sun 10:00-12:00"},
        {"weekly Mon,Tue,Wed 09:00-10:00", ScheduleValue::Kind::Weekly,
         "weekly mon-wed 09:00-10:00"},
        {"weekly mon-tue,thu,sat-sun 09:00-10:00", ScheduleValue::Kind::Weekly,
         "weekly mon,tue,thu,sat,sun 09:00-10:00"},
        {"weekly fri,mon 09:00-10:00", ScheduleValue::Kind::Weekly, "weekly mon,fri 09:00-10:00"},
        {"weekly mon-sun 00:00-23:59", ScheduleValue::Kind::Weekly, "weekly mon-sun 00:00-23:59"},
        {"calendar 2026-12-24T00:00/2026-12-26T23:59", ScheduleValue::Kind::Calendar,
         "calendar 2026-12-24T00:00/2026-12-26T23:59"},
        {"calendar 2028-02-29T08:00:15/2028-02-29T08:00:15", ScheduleValue::Kind::Calendar,
         "calendar 2028-02-29T08:00:15/2028-02-29T08:00:15"},
    };
    for (const GoodSchedule& row : rows) {
        SCOPED_TRACE(row.text);
        const ScheduleValue schedule = ParseSchedule(row.text);
        EXPECT_EQ(schedule.kind, row.kind);
        EXPECT_EQ(RenderSchedule(schedule), row.rendered);
        EXPECT_EQ(RenderSchedule(ParseSchedule(row.rendered)), row.rendered);
    }
}

TEST(ScheduleText, FieldsLandWhereAPolicyStoresThem) {
    const ScheduleValue weekly = ParseSchedule("weekly mon-fri 07:00-20:30:05");
    EXPECT_EQ(weekly.start.StoredText(), "07:00:00");
    EXPECT_EQ(weekly.end.StoredText(), "20:30:05");
    EXPECT_EQ(weekly.days, (std::array<bool, 7>{true, true, true, true, true, false, false}));
    const ScheduleValue calendar = ParseSchedule("calendar 2026-12-24T00:00/2027-01-02T23:59");
    EXPECT_EQ(calendar.startDate.StoredText(), "2026-12-24");
    EXPECT_EQ(calendar.endDate.StoredText(), "2027-01-02");
    EXPECT_EQ(calendar.end.StoredText(), "23:59:00");
    EXPECT_EQ(ParseStoredTime("18:30:00").minute, 30);
    EXPECT_THROW(ParseStoredTime("18:30"), TextFormError);
    EXPECT_EQ(ParseStoredDate("2026-02-28").day, 28);
}

TEST(ScheduleText, BadFormsAreRefusedNamingTheBadPart) {
    const std::string usage =
        "write 'daily HH:MM-HH:MM', 'weekly DAYS HH:MM-HH:MM' or "
        "'calendar YYYY-MM-DDTHH:MM/YYYY-MM-DDTHH:MM' (one blank between parts)";
    const BadText rows[] = {
        {"", "a schedule is missing"},
        {"hourly 08:00-09:00",
         "bad schedule 'hourly 08:00-09:00': 'hourly' is not daily, weekly or calendar"},
        {"*",
         "bad schedule '*': a rule matches at any time where it lists no schedule (show prints "
         "*): leave the option out, or clear the list with rule set --clear-schedules"},
        {"daily", "bad schedule 'daily': " + usage},
        {"daily  08:00-18:00", "bad schedule 'daily  08:00-18:00': " + usage},
        {"daily 08:00", "bad schedule 'daily 08:00': '08:00' is not START-END"},
        {"daily 24:00-18:00",
         "bad schedule 'daily 24:00-18:00': hour '24' is not 2 digits up to 23"},
        {"daily 8:00-18:00", "bad schedule 'daily 8:00-18:00': hour '8' is not 2 digits up to 23"},
        {"daily 08:60-18:00",
         "bad schedule 'daily 08:60-18:00': minute '60' is not 2 digits up to 59"},
        {"daily 08:00:61-18:00",
         "bad schedule 'daily 08:00:61-18:00': second '61' is not 2 digits up to 59"},
        {"daily 08-18", "bad schedule 'daily 08-18': time '08' is not HH:MM or HH:MM:SS"},
        {"weekly 07:00-20:00", "bad schedule 'weekly 07:00-20:00': " + usage},
        {"weekly mon-fry 07:00-20:00",
         "bad schedule 'weekly mon-fry 07:00-20:00': day 'fry' is not one of mon tue wed thu fri "
         "sat sun"},
        {"weekly fri-mon 07:00-20:00",
         "bad schedule 'weekly fri-mon 07:00-20:00': day range 'fri-mon' runs backwards (the week "
         "begins on mon)"},
        {"weekly mon,,fri 07:00-20:00",
         "bad schedule 'weekly mon,,fri 07:00-20:00': day '' is not one of mon tue wed thu fri sat "
         "sun"},
        {"calendar 2026-12-24T00:00",
         "bad schedule 'calendar 2026-12-24T00:00': '2026-12-24T00:00' is not START/END"},
        {"calendar 2026-12-24/2026-12-26",
         "bad schedule 'calendar 2026-12-24/2026-12-26': '2026-12-24' is not DATE'T'TIME"},
        {"calendar 2026-13-01T00:00/2026-12-26T23:59",
         "bad schedule 'calendar 2026-13-01T00:00/2026-12-26T23:59': month '13' is not 2 digits up "
         "to 12"},
        {"calendar 2026-02-29T00:00/2026-03-01T23:59",
         "bad schedule 'calendar 2026-02-29T00:00/2026-03-01T23:59': day '29' is not 2 digits up "
         "to 28"},
        {"calendar 2026-04-00T00:00/2026-04-01T23:59",
         "bad schedule 'calendar 2026-04-00T00:00/2026-04-01T23:59': day '00' is not a day of the "
         "month"},
        {"calendar 26-12-24T00:00/2026-12-26T23:59",
         "bad schedule 'calendar 26-12-24T00:00/2026-12-26T23:59': year '26' is not 4 digits up to "
         "9999"},
        {"calendar 2026-12-26T10:00/2026-12-26T09:59",
         "bad schedule 'calendar 2026-12-26T10:00/2026-12-26T09:59': it ends (2026-12-26T09:59) "
         "before it begins"},
    };
    ExpectRefusals(rows, [](const std::string& text) { (void)ParseSchedule(text); });
}

}  // namespace
}  // namespace fwpolicy::textforms
