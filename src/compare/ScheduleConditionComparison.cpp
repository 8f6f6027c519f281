// Comparison of schedule conditions: times, week days and dates.

#include <string>

#include <fwcommon/ConditionComparator.h>

#include "compare/MismatchText.h"

namespace fwcommon::condition_comparator {

using tools::Mismatch;

namespace {

// Times are reported as hours, minutes and whole seconds.
bool CompareTime(const xml_schema::time& a, const xml_schema::time& b, const std::wstring& context,
                 std::wstring& details, const wchar_t* pattern) {
    if (a == b) {
        return true;
    }
    return Mismatch(details, pattern, context, int(a.hours()), int(a.minutes()), int(a.seconds()),
                    int(b.hours()), int(b.minutes()), int(b.seconds()));
}

bool CompareDate(const xml_schema::date& a, const xml_schema::date& b, const std::wstring& context,
                 std::wstring& details, const wchar_t* pattern) {
    if (a == b) {
        return true;
    }
    return Mismatch(details, pattern, context, a.year(), int(a.month()), int(a.day()), b.year(),
                    int(b.month()), int(b.day()));
}

std::wstring FlagText(bool flag) {
    return flag ? L"true" : L"false";
}

bool CompareWeekDays(const Sarvo::WeekDays& a, const Sarvo::WeekDays& b,
                     const std::wstring& context, std::wstring& details) {
    struct Day {
        const wchar_t* pattern;
        bool first;
        bool second;
    };
    const Day days[] = {
        {L"In '%1%' Monday values are different: '%2%' and '%3%'.", a.Monday(), b.Monday()},
        {L"In '%1%' Tuesday values are different: '%2%' and '%3%'.", a.Tuesday(), b.Tuesday()},
        {L"In '%1%' Wednesday values are different: '%2%' and '%3%'.", a.Wednesday(),
         b.Wednesday()},
        {L"In '%1%' Thursday values are different: '%2%' and '%3%'.", a.Thursday(), b.Thursday()},
        {L"In '%1%' Friday values are different: '%2%' and '%3%'.", a.Friday(), b.Friday()},
        {L"In '%1%' Saturday values are different: '%2%' and '%3%'.", a.Saturday(), b.Saturday()},
        {L"In '%1%' Sunday values are different: '%2%' and '%3%'.", a.Sunday(), b.Sunday()},
    };
    for (const Day& day : days) {
        if (day.first != day.second) {
            return Mismatch(details, day.pattern, context, FlagText(day.first),
                            FlagText(day.second));
        }
    }
    return true;
}

bool CompareCalendars(const Sarvo::Calendar& a, const Sarvo::Calendar& b,
                      const std::wstring& context, std::wstring& details) {
    return CompareDate(a.StartDate(), b.StartDate(), context, details,
                       L"In '%s' Start date values are different: '%i-%02i-%02i' and "
                       L"'%i-%02i-%02i'.") &&
           CompareDate(a.EndDate(), b.EndDate(), context, details,
                       L"In '%s' End date values are different: '%i-%02i-%02i' and "
                       L"'%i-%02i-%02i'.");
}

// Steps after the times: the kinds and their own fields.
bool CompareScheduleKinds(const Sarvo::Schedule& a, const Sarvo::Schedule& b,
                          const std::wstring& context, std::wstring& details) {
    const bool firstDaily = dynamic_cast<const Sarvo::Daily*>(&a) != nullptr;
    const bool secondDaily = dynamic_cast<const Sarvo::Daily*>(&b) != nullptr;
    if (firstDaily || secondDaily) {
        return (firstDaily && secondDaily) ||
               Mismatch(details,
                        L"In '%1%' one of schedule condition is daily condition but the second "
                        L"is another type.",
                        context);
    }
    const auto* firstWeekly = dynamic_cast<const Sarvo::Weekly*>(&a);
    const auto* secondWeekly = dynamic_cast<const Sarvo::Weekly*>(&b);
    if (firstWeekly != nullptr && secondWeekly != nullptr) {
        return CompareWeekDays(firstWeekly->WeekDays(), secondWeekly->WeekDays(), context, details);
    }
    if (firstWeekly != nullptr || secondWeekly != nullptr) {
        return Mismatch(details,
                        L"In '%1%' one of schedule condition is weekly condition but the second "
                        L"is another type.",
                        context);
    }
    const auto* firstCalendar = dynamic_cast<const Sarvo::Calendar*>(&a);
    const auto* secondCalendar = dynamic_cast<const Sarvo::Calendar*>(&b);
    if (firstCalendar != nullptr && secondCalendar != nullptr) {
        return CompareCalendars(*firstCalendar, *secondCalendar, context, details);
    }
    if (firstCalendar != nullptr || secondCalendar != nullptr) {
        return Mismatch(details,
                        L"One of schedule condition is calendar condition but the second is "
                        L"another type.");
    }
    return true;
}

}  // namespace

bool CompareScheduleCondition(const Sarvo::ScheduleCondition* first,
                              const Sarvo::ScheduleCondition* second,
                              const std::wstring& contextName, std::wstring& mismatchDetails) {
    const auto* a = dynamic_cast<const Sarvo::Schedule*>(first);
    const auto* b = dynamic_cast<const Sarvo::Schedule*>(second);
    if (a == nullptr || b == nullptr) {
        return Mismatch(mismatchDetails, L"In '%1%' Schedule has incorrect internal structure.",
                        contextName);
    }
    return CompareTime(a->StartTime(), b->StartTime(), contextName, mismatchDetails,
                       L"In '%s' Start time values are different: '%02i:%02i:%02i' and "
                       L"'%02i:%02i:%02i'.") &&
           CompareTime(a->EndTime(), b->EndTime(), contextName, mismatchDetails,
                       L"In '%s' End time values are different: '%02i:%02i:%02i' and "
                       L"'%02i:%02i:%02i'.") &&
           CompareScheduleKinds(*a, *b, contextName, mismatchDetails);
}

}  // namespace fwcommon::condition_comparator
