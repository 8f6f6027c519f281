#include "domain/ScheduleNamedObject.h"

#include "domain/ScheduleNamedObjectItem.h"

namespace fwcommon {

ScheduleNamedObject::ScheduleNamedObject(const std::wstring& name, const std::wstring& description,
                                         CreationType creationType)
    : NamedObject(name, description, creationType) {}

ScheduleNamedObject::ScheduleNamedObject(std::uint32_t identifier, CreationType creationType,
                                         const std::wstring& name, const std::wstring& description)
    : NamedObject(identifier, creationType, name, description) {}

std::shared_ptr<INamedObjectElement> ScheduleNamedObject::CreateCalendarElement(
    std::int32_t startYear, std::int32_t startMonth, std::int32_t startDay, std::int32_t startHour,
    std::int32_t startMinute, std::int32_t endYear, std::int32_t endMonth, std::int32_t endDay,
    std::int32_t endHour, std::int32_t endMinute) {
    return ScheduleNamedObjectItem::Calendar(startYear, startMonth, startDay, startHour,
                                             startMinute, endYear, endMonth, endDay, endHour,
                                             endMinute);
}

std::shared_ptr<INamedObjectElement> ScheduleNamedObject::CreateWeeklyElement(
    std::int32_t startHour, std::int32_t startMinute, std::int32_t endHour, std::int32_t endMinute,
    std::int32_t daySet) {
    return ScheduleNamedObjectItem::Weekly(startHour, startMinute, endHour, endMinute, daySet);
}

std::shared_ptr<INamedObjectElement> ScheduleNamedObject::CreateDailyElement(
    std::int32_t startHour, std::int32_t startMinute, std::int32_t endHour,
    std::int32_t endMinute) {
    return ScheduleNamedObjectItem::Daily(startHour, startMinute, endHour, endMinute);
}

std::shared_ptr<INamedObjectElement> ScheduleNamedObject::NewElement() const {
    return std::make_shared<ScheduleNamedObjectItem>();
}

}  // namespace fwcommon
