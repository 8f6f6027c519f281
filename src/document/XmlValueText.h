#pragma once

#include <cstddef>

#include <fwcommon/rules.hxx>

namespace fwcommon::document {

// Lexical forms of the binding's value types, exactly as the binding
// writes them:
// - xs:long and xs:int in plain decimal;
// - xs:time "hh:mm:ss[.fraction]", xs:date "yyyy-mm-dd" and xs:dateTime
//   "yyyy-mm-ddThh:mm:ss[.fraction]": the year has at least four
//   characters ('0' fills in front of the sign), seconds are rounded to six
//   decimals and trailing zeros and a bare point are dropped; a zone
//   follows when present: "Z" for zero, otherwise the sign and "hh:mm"
//   (the sign alone when the zone is out of range);
// - a value out of range (hour above 24, minute above 59, seconds not in
//   [0, 60), month above 12, day above 31) has no text at all.
//
// Each function writes into buffer (at least kValueTextCapacity bytes) and
// returns the number of bytes written. They keep no state: any thread.
inline constexpr std::size_t kValueTextCapacity = 96;

std::size_t FormatLong(long long value, char* buffer);
std::size_t FormatTime(const xml_schema::time& value, char* buffer);
std::size_t FormatDate(const xml_schema::date& value, char* buffer);
std::size_t FormatDateTime(const xml_schema::date_time& value, char* buffer);

// Whether the process-wide locale writes numbers and booleans as the
// classic locale does (no digit grouping, "true"/"false"); the binding
// writes them through streams in that locale.
bool GlobalLocaleWritesPlainNumbers();

}  // namespace fwcommon::document
