#pragma once

#include <fwcommon/IScheduleNamedObject.h>
#include "domain/NamedObject.h"

namespace fwcommon {

// A named object of time spans; its items are ScheduleNamedObjectItem.
class ScheduleNamedObject : public NamedObject, public virtual IScheduleNamedObject {
public:
    ScheduleNamedObject(const std::wstring& name, const std::wstring& description,
                        CreationType creationType);
    ScheduleNamedObject(std::uint32_t identifier, CreationType creationType,
                        const std::wstring& name, const std::wstring& description);

    NamedObjectType GetNamedObjectType() const override { return eScheduleObject; }
    std::shared_ptr<INamedObjectElement> CreateCalendarElement(
        std::int32_t startYear, std::int32_t startMonth, std::int32_t startDay,
        std::int32_t startHour, std::int32_t startMinute, std::int32_t endYear,
        std::int32_t endMonth, std::int32_t endDay, std::int32_t endHour,
        std::int32_t endMinute) override;
    std::shared_ptr<INamedObjectElement> CreateWeeklyElement(std::int32_t startHour,
                                                             std::int32_t startMinute,
                                                             std::int32_t endHour,
                                                             std::int32_t endMinute,
                                                             std::int32_t daySet) override;
    std::shared_ptr<INamedObjectElement> CreateDailyElement(std::int32_t startHour,
                                                            std::int32_t startMinute,
                                                            std::int32_t endHour,
                                                            std::int32_t endMinute) override;

protected:
    std::shared_ptr<INamedObjectElement> NewElement() const override;
};

}  // namespace fwcommon
