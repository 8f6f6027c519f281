#include "domain/ScheduleNamedObjectItem.h"

#include <boost/format.hpp>

#include <fwcommon/ItemParameters.h>

namespace fwcommon {

namespace {

std::int32_t SixteenBits(std::int32_t value) {
    return static_cast<std::uint16_t>(value);
}

}  // namespace

ScheduleNamedObjectItem::ScheduleNamedObjectItem()
    : NamedObjectItem({kParamDisplayText, kParamScheduleKind, kParamStartHour, kParamEndHour,
                       kParamStartMinute, kParamEndMinute}),
      kindWord_(L"Daily") {
    end_.hour = 23;
    end_.minute = 59;
}

std::shared_ptr<ScheduleNamedObjectItem> ScheduleNamedObjectItem::Daily(std::int32_t startHour,
                                                                        std::int32_t startMinute,
                                                                        std::int32_t endHour,
                                                                        std::int32_t endMinute) {
    auto item = std::make_shared<ScheduleNamedObjectItem>();
    item->SetStartTime(startHour, startMinute);
    item->SetEndTime(endHour, endMinute);
    return item;
}

std::shared_ptr<ScheduleNamedObjectItem> ScheduleNamedObjectItem::Weekly(std::int32_t startHour,
                                                                         std::int32_t startMinute,
                                                                         std::int32_t endHour,
                                                                         std::int32_t endMinute,
                                                                         std::int32_t daySet) {
    auto item = Daily(startHour, startMinute, endHour, endMinute);
    item->SetDaySet(daySet);
    return item;
}

std::shared_ptr<ScheduleNamedObjectItem> ScheduleNamedObjectItem::Calendar(
    std::int32_t startYear, std::int32_t startMonth, std::int32_t startDay, std::int32_t startHour,
    std::int32_t startMinute, std::int32_t endYear, std::int32_t endMonth, std::int32_t endDay,
    std::int32_t endHour, std::int32_t endMinute) {
    auto item = Daily(startHour, startMinute, endHour, endMinute);
    item->SetStartDate(startYear, startMonth, startDay);
    item->SetEndDate(endYear, endMonth, endDay);
    return item;
}

void ScheduleNamedObjectItem::SetStartTime(std::int32_t hour, std::int32_t minute) {
    start_.hour = SixteenBits(hour);
    start_.minute = SixteenBits(minute);
    core_.Add({kParamStartTime});
}

void ScheduleNamedObjectItem::SetEndTime(std::int32_t hour, std::int32_t minute) {
    end_.hour = SixteenBits(hour);
    end_.minute = SixteenBits(minute);
    core_.Add({kParamEndTime});
}

void ScheduleNamedObjectItem::SetDaySet(std::int32_t daySet) {
    daySet_ = static_cast<std::uint8_t>(daySet);
    core_.Add({kParamDaySet});
    kindWord_ = L"Weekly";
}

void ScheduleNamedObjectItem::SetStartDate(std::int32_t year, std::int32_t month,
                                           std::int32_t day) {
    start_.year = year;
    start_.month = month;
    start_.day = day;
    core_.Add({kParamStartDate, kParamStartYear, kParamStartMonth, kParamStartDay});
    kindWord_ = L"Calendar";
}

void ScheduleNamedObjectItem::SetEndDate(std::int32_t year, std::int32_t month, std::int32_t day) {
    end_.year = year;
    end_.month = month;
    end_.day = day;
    core_.Add({kParamEndDate, kParamEndYear, kParamEndMonth, kParamEndDay});
    kindWord_ = L"Calendar";
}

std::wstring ScheduleNamedObjectItem::DateText(const Moment& m) {
    return (boost::wformat(L"%1%/%2%/%3%") % m.year % m.month % m.day).str();
}

std::wstring ScheduleNamedObjectItem::TimeText(const Moment& m) {
    return (boost::wformat(L"%1%:%2%") % m.hour % m.minute).str();
}

std::wstring ScheduleNamedObjectItem::DerivedKind() const {
    if (daySet_ != 0) {
        return L"Weekly";
    }
    return end_.year != 0 ? L"Calendar" : L"Daily";
}

std::wstring ScheduleNamedObjectItem::GetDetails() const {
    if (daySet_ != 0) {
        return (boost::wformat(L"%1%:%2%-%3%:%4%-%5%") % start_.hour % start_.minute % end_.hour %
                end_.minute % daySet_)
            .str();
    }
    if (start_.year == 0) {
        return (boost::wformat(L"%1%:%2%-%3%:%4%") % start_.hour % start_.minute % end_.hour %
                end_.minute)
            .str();
    }
    return (boost::wformat(L"%1%/%2%/%3% %4%:%5%-%6%/%7%/%8% %9%:%10%") % start_.year %
            start_.month % start_.day % start_.hour % start_.minute % end_.year % end_.month %
            end_.day % end_.hour % end_.minute)
        .str();
}

std::wstring ScheduleNamedObjectItem::GetName() {
    return kindWord_ + L" " + GetDetails();
}

std::wstring ScheduleNamedObjectItem::GetParam(int paramId) const {
    core_.Require(paramId, "fwcommon::ScheduleNamedObjectItem::GetParam");
    switch (paramId) {
        case kParamDisplayText:
            return kindWord_;
        case kParamScheduleKind:
            return DerivedKind();
        case kParamStartDate:
            return DateText(start_);
        case kParamEndDate:
            return DateText(end_);
        case kParamStartTime:
            return TimeText(start_);
        case kParamEndTime:
            return TimeText(end_);
        case kParamDaySet:
            return Decimal(daySet_);
        case kParamStartHour:
            return Decimal(start_.hour);
        case kParamEndHour:
            return Decimal(end_.hour);
        case kParamStartMinute:
            return Decimal(start_.minute);
        case kParamEndMinute:
            return Decimal(end_.minute);
        case kParamStartYear:
            return Decimal(start_.year);
        case kParamStartMonth:
            return Decimal(start_.month);
        case kParamStartDay:
            return Decimal(start_.day);
        case kParamEndYear:
            return Decimal(end_.year);
        case kParamEndMonth:
            return Decimal(end_.month);
        case kParamEndDay:
            return Decimal(end_.day);
        default:
            ThrowUnansweredParam("ScheduleNamedObjectItem");
    }
}

bool ScheduleNamedObjectItem::IsEqual(const std::shared_ptr<INamedItem>& other) const {
    if (other.get() == this) {
        return true;
    }
    const auto* item = dynamic_cast<const ScheduleNamedObjectItem*>(other.get());
    return item != nullptr && kindWord_ == item->kindWord_ && start_ == item->start_ &&
           end_ == item->end_ && daySet_ == item->daySet_ && core_.paramIds == item->core_.paramIds;
}

std::size_t ScheduleNamedObjectItem::EqualityHash() const {
    std::size_t hash = 0;
    HashInto(hash, kindWord_);
    HashInto(hash, daySet_);
    for (const Moment* moment : {&start_, &end_}) {
        HashInto(hash, moment->year);
        HashInto(hash, moment->month);
        HashInto(hash, moment->day);
        HashInto(hash, moment->hour);
        HashInto(hash, moment->minute);
    }
    return hash;
}

INamedObjectElement& ScheduleNamedObjectItem::Assign(const INamedObjectElement* other) {
    const auto* item = dynamic_cast<const ScheduleNamedObjectItem*>(other);
    if (item != nullptr && item != this) {
        start_ = item->start_;
        end_ = item->end_;
        daySet_ = item->daySet_;
        kindWord_ = item->kindWord_;
        core_.paramIds = item->core_.paramIds;
    }
    return *this;
}

}  // namespace fwcommon
