#pragma once

#include <string>

#include <fwcommon/rules.hxx>

namespace fwcommon::tools {

// Reads a time of day written as a Boost.Date_Time duration ("08:30:15",
// "8:30", "08:30:15.5"; fields separated by any of "-:,."). The fraction of
// a second is dropped; no time zone is set. The parser's errors propagate;
// a duration outside 00:00:00..23:59:59 throws std::out_of_range.
xml_schema::time ParseTimeOfDay(const std::string& text);

// Reads a Gregorian date in year-month-day order ("2024-03-01",
// "2024-Mar-01") without a time zone. Invalid dates throw the
// boost::gregorian errors (bad_year, bad_month, bad_day_of_month).
xml_schema::date ParseDate(const std::string& text);

}  // namespace fwcommon::tools
