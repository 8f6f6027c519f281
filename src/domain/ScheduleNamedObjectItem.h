#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <fwcommon/INamedObjectElement.h>
#include <fwcommon/export.h>
#include "domain/NamedObjectItem.h"

namespace fwcommon {

// An entry of a schedule object: a daily, weekly or calendar time span.
// Parameters: 0 kind word, 1 kind derived from the fields, 2 and 3 dates
// ("year/month/day"), 4 and 5 times ("hour:minute"), 6 day set, 7 to 10
// hours and minutes, 11 to 16 date parts. Hours and minutes are kept to
// 16 bits, the day set (Monday 1 ... Sunday 64) to one byte. GetParam of an
// id in the set that the class has no answer for throws std::runtime_error
// "Application function: ScheduleNamedObjectItem::GetParam. Details:
// Incorrect parameter type.".
class ScheduleNamedObjectItem : public NamedObjectItem<eScheduleObject> {
public:
    // "Daily" from 0:0 to 23:59, parameter ids {0, 1, 7, 8, 9, 10}.
    ScheduleNamedObjectItem();

    static std::shared_ptr<ScheduleNamedObjectItem> Daily(std::int32_t startHour,
                                                          std::int32_t startMinute,
                                                          std::int32_t endHour,
                                                          std::int32_t endMinute);
    static std::shared_ptr<ScheduleNamedObjectItem> Weekly(std::int32_t startHour,
                                                           std::int32_t startMinute,
                                                           std::int32_t endHour,
                                                           std::int32_t endMinute,
                                                           std::int32_t daySet);
    static std::shared_ptr<ScheduleNamedObjectItem> Calendar(
        std::int32_t startYear, std::int32_t startMonth, std::int32_t startDay,
        std::int32_t startHour, std::int32_t startMinute, std::int32_t endYear,
        std::int32_t endMonth, std::int32_t endDay, std::int32_t endHour, std::int32_t endMinute);

    // The creation steps; each adds its parameter ids.
    void SetStartTime(std::int32_t hour, std::int32_t minute);
    void SetEndTime(std::int32_t hour, std::int32_t minute);
    // Makes the item "Weekly".
    void SetDaySet(std::int32_t daySet);
    // Each makes the item "Calendar".
    void SetStartDate(std::int32_t year, std::int32_t month, std::int32_t day);
    void SetEndDate(std::int32_t year, std::int32_t month, std::int32_t day);

    // The kind word, a blank and GetDetails: "Daily 0:0-23:59".
    std::wstring GetName() override;
    std::wstring GetParam(int paramId) const override;
    bool IsEqual(const std::shared_ptr<INamedItem>& other) const override;
    std::size_t EqualityHash() const override;
    INamedObjectElement& Assign(const INamedObjectElement* other) override;
    // The kind word: "Daily", "Weekly" or "Calendar".
    const std::wstring& GetText() const override { return kindWord_; }
    // "8:5-17:30-31" with a day set, "8:5-17:30" without a start year,
    // otherwise "2024/1/2 8:5-2024/12/31 17:30".
    std::wstring GetDetails() const;

private:
    struct Moment {
        std::int32_t year = 0;
        std::int32_t month = 0;
        std::int32_t day = 0;
        std::int32_t hour = 0;
        std::int32_t minute = 0;
        bool operator==(const Moment& o) const {
            return year == o.year && month == o.month && day == o.day && hour == o.hour &&
                   minute == o.minute;
        }
    };
    static std::wstring DateText(const Moment& m);
    static std::wstring TimeText(const Moment& m);
    std::wstring DerivedKind() const;

    Moment start_;
    Moment end_;
    std::int32_t daySet_ = 0;
    std::wstring kindWord_;
};

}  // namespace fwcommon
