// Reading of the time and date texts given to the schedule factories.

#include "factories/ScheduleText.h"

#include <stdexcept>

#include <boost/date_time/gregorian/gregorian.hpp>
#include <boost/date_time/posix_time/posix_time.hpp>

#include <fwcommon/StringUtilities.h>

namespace fwcommon::tools {

xml_schema::time ParseTimeOfDay(const std::string& text) {
    const boost::posix_time::time_duration duration = boost::posix_time::duration_from_string(text);
    if (duration.is_negative() || duration >= boost::posix_time::hours(24)) {
        throw std::out_of_range(StringUtilities::GetErrorString(
            "fwcommon::XmlRuleFactory",
            "Time of day is out of range 00:00:00..23:59:59: '" + text + "'"));
    }
    return xml_schema::time(static_cast<unsigned short>(duration.hours()),
                            static_cast<unsigned short>(duration.minutes()),
                            static_cast<double>(duration.seconds()));
}

xml_schema::date ParseDate(const std::string& text) {
    const boost::gregorian::date date = boost::gregorian::from_simple_string(text);
    return xml_schema::date(date.year(), date.month(), date.day());
}

}  // namespace fwcommon::tools
