#pragma once

#include <ctime>

#include <fwcommon/rules.hxx>

namespace fwcommon {

// A point in time as an xs:dateTime in UTC ("2026-12-05T10:00:00Z").
xml_schema::date_time UtcDateTime(std::time_t time);

}  // namespace fwcommon
