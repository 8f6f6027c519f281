#pragma once

#include <cstdint>

#include "lint/LintIntervalSet.h"

namespace fwcommon::lint {

// Times as whole seconds. A schedule set is a weekly part, repeated every
// week (seconds from Monday 00:00:00, 0 to 604799), and an absolute part
// (seconds from 1970-01-01 00:00:00, biased by 2^63 so that the order of
// signed values is kept). Full only when the weekly part is the whole week.
struct ScheduleSet {
    static constexpr std::uint64_t kWeek = 7 * 86400;

    IntervalSet<std::uint64_t> weekly;
    IntervalSet<std::uint64_t> absolute;

    static ScheduleSet Full();
    bool IsEmpty() const { return weekly.IsEmpty() && absolute.IsEmpty(); }
    bool IsFull() const;
    bool IsSubsetOf(const ScheduleSet& other) const;
    void UnionWith(const ScheduleSet& other);
    ScheduleSet MinusUpper(const ScheduleSet& cut) const;
    ScheduleSet MinusLower(const ScheduleSet& cut) const;
};

// The absolute second of a date and time of day, biased as above.
std::uint64_t AbsoluteSecond(std::int64_t year, std::int64_t month, std::int64_t day,
                             std::int64_t secondOfDay);

// Seconds from Monday 00:00:00 of the week holding an absolute second.
std::uint64_t WeekOffset(std::uint64_t absolute);

// True when the set holds the absolute second.
bool HoldsSecond(const ScheduleSet& set, std::uint64_t absolute);

// The weekly set of the window [start, end] (seconds of day) on each day
// whose bit is set in days (bit 0 Monday ... bit 6 Sunday). end below start
// is empty here; the caller decides what such a window means.
IntervalSet<std::uint64_t> WeeklyWindow(unsigned days, std::uint64_t start, std::uint64_t end);

}  // namespace fwcommon::lint
