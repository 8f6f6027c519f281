#pragma once

#include <cstdint>
#include <memory>

#include <fwcommon/INamedObject.h>
#include <fwcommon/export.h>

namespace fwcommon {

// A named object of time spans (eScheduleObject). The factories create
// schedule items: hours and minutes are kept to 16 bits, the day set
// (Monday 1, Tuesday 2, ... Sunday 64, added up) to one byte.
class FWCOMMON_EXPORT IScheduleNamedObject : public virtual INamedObject {
public:
    IScheduleNamedObject() = default;
    IScheduleNamedObject(const IScheduleNamedObject&) = default;
    IScheduleNamedObject& operator=(const IScheduleNamedObject&) { return *this; }
    ~IScheduleNamedObject() override;

    // "Calendar": from a date and time to a date and time.
    virtual std::shared_ptr<INamedObjectElement> CreateCalendarElement(
        std::int32_t startYear, std::int32_t startMonth, std::int32_t startDay,
        std::int32_t startHour, std::int32_t startMinute, std::int32_t endYear,
        std::int32_t endMonth, std::int32_t endDay, std::int32_t endHour,
        std::int32_t endMinute) = 0;
    // "Weekly": a time span on the days of the set.
    virtual std::shared_ptr<INamedObjectElement> CreateWeeklyElement(std::int32_t startHour,
                                                                     std::int32_t startMinute,
                                                                     std::int32_t endHour,
                                                                     std::int32_t endMinute,
                                                                     std::int32_t daySet) = 0;
    // "Daily": a time span on every day.
    virtual std::shared_ptr<INamedObjectElement> CreateDailyElement(std::int32_t startHour,
                                                                    std::int32_t startMinute,
                                                                    std::int32_t endHour,
                                                                    std::int32_t endMinute) = 0;
};

}  // namespace fwcommon
