#include "document/XmlValueText.h"

#include <charconv>
#include <cstring>
#include <locale>

namespace fwcommon::document {
namespace {

// Decimal text of value, padded in front with '0' to width characters
// (the padding goes before a minus sign, as a stream with fill '0' does).
std::size_t PaddedNumber(long long value, int width, char* buffer) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const std::size_t size = static_cast<std::size_t>(end - digits);
    std::size_t fill = size < static_cast<std::size_t>(width) ? width - size : 0;
    std::memset(buffer, '0', fill);
    std::memcpy(buffer + fill, digits, size);
    return fill + size;
}

// Seconds with six decimals, at least nine characters wide, trailing
// zeros and then a trailing point removed.
std::size_t Seconds(double seconds, char* buffer) {
    char digits[48];
    const auto end =
        std::to_chars(digits, digits + sizeof digits, seconds, std::chars_format::fixed, 6).ptr;
    std::size_t size = static_cast<std::size_t>(end - digits);
    const std::size_t fill = size < 9 ? 9 - size : 0;
    std::memset(buffer, '0', fill);
    std::memcpy(buffer + fill, digits, size);
    size += fill;
    while (size > 0 && buffer[size - 1] == '0') {
        --size;
    }
    if (size > 0 && buffer[size - 1] == '.') {
        --size;
    }
    return size;
}

std::size_t Zone(const xsd::cxx::tree::time_zone& zone, char* buffer) {
    short hours = zone.zone_hours();
    short minutes = zone.zone_minutes();
    if (hours == 0 && minutes == 0) {
        buffer[0] = 'Z';
        return 1;
    }
    std::size_t size = 0;
    if (hours < 0 || minutes < 0) {
        hours = static_cast<short>(-hours);
        minutes = static_cast<short>(-minutes);
        buffer[size++] = '-';
    } else {
        buffer[size++] = '+';
    }
    if (hours >= 0 && hours <= 14 && minutes >= 0 && minutes <= 59) {
        size += PaddedNumber(hours, 2, buffer + size);
        buffer[size++] = ':';
        size += PaddedNumber(minutes, 2, buffer + size);
    }
    return size;
}

bool TimeInRange(unsigned short hours, unsigned short minutes, double seconds) {
    return hours <= 24 && minutes <= 59 && seconds >= 0.0 && seconds < 60.0;
}

// "hh:mm:ss[.f]" and the zone, without range checks.
std::size_t ClockTime(unsigned short hours, unsigned short minutes, double seconds, char* buffer) {
    std::size_t size = PaddedNumber(hours, 2, buffer);
    buffer[size++] = ':';
    size += PaddedNumber(minutes, 2, buffer + size);
    buffer[size++] = ':';
    size += Seconds(seconds, buffer + size);
    return size;
}

std::size_t CalendarDate(int year, unsigned short month, unsigned short day, char* buffer) {
    std::size_t size = PaddedNumber(year, 4, buffer);
    buffer[size++] = '-';
    size += PaddedNumber(month, 2, buffer + size);
    buffer[size++] = '-';
    size += PaddedNumber(day, 2, buffer + size);
    return size;
}

}  // namespace

std::size_t FormatLong(long long value, char* buffer) {
    return static_cast<std::size_t>(std::to_chars(buffer, buffer + 24, value).ptr - buffer);
}

std::size_t FormatTime(const xml_schema::time& value, char* buffer) {
    if (!TimeInRange(value.hours(), value.minutes(), value.seconds())) {
        return 0;
    }
    std::size_t size = ClockTime(value.hours(), value.minutes(), value.seconds(), buffer);
    if (value.zone_present()) {
        size += Zone(value, buffer + size);
    }
    return size;
}

std::size_t FormatDate(const xml_schema::date& value, char* buffer) {
    if (value.month() >= 13 || value.day() >= 32) {
        return 0;
    }
    std::size_t size = CalendarDate(value.year(), value.month(), value.day(), buffer);
    if (value.zone_present()) {
        size += Zone(value, buffer + size);
    }
    return size;
}

std::size_t FormatDateTime(const xml_schema::date_time& value, char* buffer) {
    if (value.month() > 12 || value.day() > 31 ||
        !TimeInRange(value.hours(), value.minutes(), value.seconds())) {
        return 0;
    }
    std::size_t size = CalendarDate(value.year(), value.month(), value.day(), buffer);
    buffer[size++] = 'T';
    size += ClockTime(value.hours(), value.minutes(), value.seconds(), buffer + size);
    if (value.zone_present()) {
        size += Zone(value, buffer + size);
    }
    return size;
}

bool GlobalLocaleWritesPlainNumbers() {
    const std::locale global;
    const auto& narrow = std::use_facet<std::numpunct<char>>(global);
    const auto& wide = std::use_facet<std::numpunct<wchar_t>>(global);
    return narrow.grouping().empty() && wide.grouping().empty() && narrow.truename() == "true" &&
           narrow.falsename() == "false";
}

}  // namespace fwcommon::document
