#include "store/UtcTime.h"

namespace fwcommon {

xml_schema::date_time UtcDateTime(std::time_t time) {
    std::tm utc{};
    gmtime_r(&time, &utc);
    return xml_schema::date_time(utc.tm_year + 1900, static_cast<unsigned short>(utc.tm_mon + 1),
                                 static_cast<unsigned short>(utc.tm_mday),
                                 static_cast<unsigned short>(utc.tm_hour),
                                 static_cast<unsigned short>(utc.tm_min), utc.tm_sec, 0, 0);
}

}  // namespace fwcommon
