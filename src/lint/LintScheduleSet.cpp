#include "lint/LintScheduleSet.h"

namespace fwcommon::lint {
namespace {

constexpr std::uint64_t kBias = std::uint64_t(1) << 63;
constexpr std::uint64_t kDay = 86400;

// Days from 1970-01-01 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// True when the weekly set holds every second of the absolute span.
bool WeeklyHoldsSpan(const IntervalSet<std::uint64_t>& weekly, std::uint64_t lo, std::uint64_t hi) {
    if (hi - lo >= ScheduleSet::kWeek - 1) {
        return weekly.IsFull() || weekly.Contains(0, ScheduleSet::kWeek - 1);
    }
    const std::uint64_t start = WeekOffset(lo);
    const std::uint64_t end = start + (hi - lo);
    if (end < ScheduleSet::kWeek) {
        return weekly.Contains(start, end);
    }
    return weekly.Contains(start, ScheduleSet::kWeek - 1) &&
           weekly.Contains(0, end - ScheduleSet::kWeek);
}

}  // namespace

// 1970-01-01 was a Thursday, three days after a Monday.
std::uint64_t WeekOffset(std::uint64_t absolute) {
    const std::int64_t signedSecond = static_cast<std::int64_t>(absolute - kBias);
    const std::int64_t week = static_cast<std::int64_t>(ScheduleSet::kWeek);
    const std::int64_t shifted = signedSecond + 3 * static_cast<std::int64_t>(kDay);
    return static_cast<std::uint64_t>(((shifted % week) + week) % week);
}

std::uint64_t AbsoluteSecond(std::int64_t year, std::int64_t month, std::int64_t day,
                             std::int64_t secondOfDay) {
    const std::int64_t seconds =
        DaysFromCivil(year, month, day) * static_cast<std::int64_t>(kDay) + secondOfDay;
    return static_cast<std::uint64_t>(seconds) + kBias;
}

IntervalSet<std::uint64_t> WeeklyWindow(unsigned days, std::uint64_t start, std::uint64_t end) {
    IntervalSet<std::uint64_t> set;
    if (end < start) {
        return set;
    }
    for (unsigned day = 0; day < 7; ++day) {
        if (days & (1u << day)) {
            set.UnionWith(IntervalSet<std::uint64_t>::Of(day * kDay + start, day * kDay + end));
        }
    }
    return set;
}

bool HoldsSecond(const ScheduleSet& set, std::uint64_t absolute) {
    const std::uint64_t week = WeekOffset(absolute);
    return set.weekly.Contains(week, week) || set.absolute.Contains(absolute, absolute);
}

ScheduleSet ScheduleSet::Full() {
    ScheduleSet set;
    set.weekly = IntervalSet<std::uint64_t>::Of(0, kWeek - 1);
    return set;
}

bool ScheduleSet::IsFull() const {
    return weekly.Contains(0, kWeek - 1);
}

bool ScheduleSet::IsSubsetOf(const ScheduleSet& other) const {
    if (!weekly.IsSubsetOf(other.weekly)) {
        return false;
    }
    const IntervalSet<std::uint64_t> rest = absolute.Minus(other.absolute);
    for (const auto& span : rest.Items()) {
        if (!WeeklyHoldsSpan(other.weekly, span.lo, span.hi)) {
            return false;
        }
    }
    return true;
}

void ScheduleSet::UnionWith(const ScheduleSet& other) {
    weekly.UnionWith(other.weekly);
    absolute.UnionWith(other.absolute);
}

// Taking out each part from its own kind leaves a superset of the
// difference. A weekly part less calendar spans cannot be written as these
// two parts, nor a calendar span less weekly windows without listing every
// week, so the lower bound drops a part whenever the other kind is cut.
ScheduleSet ScheduleSet::MinusUpper(const ScheduleSet& cut) const {
    ScheduleSet result;
    result.weekly = weekly.Minus(cut.weekly);
    result.absolute = absolute.Minus(cut.absolute);
    return result;
}

ScheduleSet ScheduleSet::MinusLower(const ScheduleSet& cut) const {
    ScheduleSet result;
    if (cut.absolute.IsEmpty()) {
        result.weekly = weekly.Minus(cut.weekly);
    }
    if (cut.weekly.IsEmpty()) {
        result.absolute = absolute.Minus(cut.absolute);
    }
    return result;
}

}  // namespace fwcommon::lint
