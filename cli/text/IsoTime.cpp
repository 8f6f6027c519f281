#include "text/IsoTime.h"

#include <cctype>
#include <stdexcept>

namespace fwpolicy {
namespace {

// Reads exactly `digits` decimal digits at `at`; false when they are not there.
bool Number(const std::string& text, std::size_t& at, int digits, int& value) {
    if (at + digits > text.size())
        return false;
    value = 0;
    for (int i = 0; i < digits; ++i) {
        const char c = text[at + i];
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
        value = value * 10 + (c - '0');
    }
    at += digits;
    return true;
}

bool Literal(const std::string& text, std::size_t& at, const char* choices) {
    if (at >= text.size())
        return false;
    for (const char* c = choices; *c != '\0'; ++c) {
        if (text[at] == *c) {
            ++at;
            return true;
        }
    }
    return false;
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// The zone's offset east of UTC in seconds, reading from `at` to the end.
bool ZoneOffset(const std::string& text, std::size_t& at, int& offset) {
    offset = 0;
    if (at == text.size())
        return true;
    if (Literal(text, at, "Z"))
        return at == text.size();
    const bool east = text[at] == '+';
    int hours = 0;
    int minutes = 0;
    if (!Literal(text, at, "+-") || !Number(text, at, 2, hours) || !Literal(text, at, ":") ||
        !Number(text, at, 2, minutes) || hours > 23 || minutes > 59 || at != text.size())
        return false;
    offset = (east ? 1 : -1) * (hours * 3600 + minutes * 60);
    return true;
}

}  // namespace

std::int64_t ParseIsoDateTime(const std::string& text) {
    const std::invalid_argument bad("not an ISO-8601 date and time: '" + text + "'");
    std::size_t at = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, offset = 0;
    if (!Number(text, at, 4, year) || !Literal(text, at, "-") || !Number(text, at, 2, month) ||
        !Literal(text, at, "-") || !Number(text, at, 2, day) || !Literal(text, at, "T ") ||
        !Number(text, at, 2, hour) || !Literal(text, at, ":") || !Number(text, at, 2, minute) ||
        !Literal(text, at, ":") || !Number(text, at, 2, second))
        throw bad;
    if (Literal(text, at, ".")) {
        const std::size_t digits = at;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
            ++at;
        if (at == digits)
            throw bad;
    }
    if (!ZoneOffset(text, at, offset) || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month) || hour > 23 || minute > 59 || second > 59)
        throw bad;
    return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second - offset;
}

}  // namespace fwpolicy
