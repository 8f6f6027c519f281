// ISO-8601 date and time texts of fwpolicy merge --time.

#include <cstdint>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "text/IsoTime.h"

namespace fwcommon::test {
namespace {

TEST(IsoTime, ValidTextsGiveSecondsSinceTheEpoch) {
    const std::pair<const char*, std::int64_t> rows[] = {
        {"1970-01-01T00:00:00Z", 0},
        {"1970-01-01T00:00:01", 1},
        {"2026-12-01T08:00:00Z", 1796112000},
        {"2026-12-01 08:00:00Z", 1796112000},
        {"2026-12-01T09:30:00+01:30", 1796112000},
        {"2026-12-01T06:00:00-02:00", 1796112000},
        {"2026-12-01T08:00:00.999Z", 1796112000},
        {"2024-02-29T12:00:00Z", 1709208000},
        {"1969-12-31T23:59:59Z", -1},
        {"2000-03-01T00:00:00Z", 951868800},
    };
    for (const auto& [text, seconds] : rows) {
        SCOPED_TRACE(text);
        EXPECT_EQ(seconds, fwpolicy::ParseIsoDateTime(text));
    }
}

TEST(IsoTime, OtherTextsAreRefusedWithTheText) {
    for (const char* text :
         {"", "yesterday", "2026-12-01", "2026-12-01T08:00", "2026-13-01T08:00:00Z",
          "2025-02-29T08:00:00Z", "2026-04-31T08:00:00Z", "2026-12-01T24:00:00Z",
          "2026-12-01T08:60:00Z", "2026-12-01T08:00:00ZZ", "2026-12-01T08:00:00+0100",
          "2026-12-01T08:00:00.Z", "2026-12-01T08:00:00 ", "26-12-01T08:00:00Z"}) {
        SCOPED_TRACE(text);
        try {
            fwpolicy::ParseIsoDateTime(text);
            ADD_FAILURE() << "accepted";
        } catch (const std::invalid_argument& e) {
            EXPECT_EQ(std::string("not an ISO-8601 date and time: '") + text + "'", e.what());
        }
    }
}

}  // namespace
}  // namespace fwcommon::test
