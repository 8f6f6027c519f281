#pragma once

#include <cstdint>
#include <string>

namespace fwpolicy {

// Seconds since 1970-01-01 00:00:00 UTC of an ISO-8601 date and time,
// "YYYY-MM-DDThh:mm:ss" with optional fraction (ignored) and zone ("Z" or
// "+hh:mm"/"-hh:mm"; none means UTC). A blank may stand for the "T".
// Throws std::invalid_argument "not an ISO-8601 date and time: 'TEXT'" for
// any other text or an impossible date. Any thread may call it.
std::int64_t ParseIsoDateTime(const std::string& text);

}  // namespace fwpolicy
