// Date and time values that the schema accepts: each is either written back
// as a value that loads again and means the same, or refused when loaded,
// with a message naming the element and the value. Never written as an
// empty or different value.

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fwcommon/PolicyDocument.h>

#include "cli/RunTool.h"
#include "common/TestFiles.h"
#include "document/DocumentTestSupport.h"

namespace fwcommon::test {
namespace {

using ::testing::HasSubstr;

// The minimal document with one schedule object whose calendar exclusion
// runs from `startTime` to `endTime` on `startDate`, issued at `issued`.
std::string ScheduleDocument(const std::string& startTime, const std::string& endTime,
                             const std::string& startDate, const std::string& issued) {
    std::string xml = MinimalPolicy();
    xml.insert(xml.find("<Rules>"),
               "<NamedObjects><ScheduleObject><Name>s</Name><Id>1</Id>"
               "<CreationType>User</CreationType><Exclusion xsi:type=\"sv:Calendar\"><StartTime>" +
                   startTime + "</StartTime><EndTime>" + endTime + "</EndTime><StartDate>" +
                   startDate +
                   "</StartDate><EndDate>2026-12-26</EndDate></Exclusion>"
                   "</ScheduleObject></NamedObjects>");
    const std::string issuedTag = "<IssueDateTime>";
    const std::size_t at = xml.find(issuedTag) + issuedTag.size();
    xml.replace(at, xml.find("</IssueDateTime>") - at, issued);
    return xml;
}

struct ValueRow {
    const char* label;
    std::string document;
    std::string message;  // empty: the value is kept
};

std::vector<ValueRow> Rows() {
    const std::string t = "08:00:00";
    const std::string d = "2026-12-24";
    const std::string i = "2026-01-01T00:00:00Z";
    return {
        {"leap second", ScheduleDocument("23:59:60", t, d, i),
         "StartTime '23:59:60': a leap second is not supported"},
        {"leap second with a zone", ScheduleDocument(t, "23:59:60Z", d, i),
         "EndTime '23:59:60Z': a leap second"},
        {"leap second in a date and time", ScheduleDocument(t, t, d, "2016-12-31T23:59:60Z"),
         "IssueDateTime '2016-12-31T23:59:60Z': a leap second"},
        {"negative year", ScheduleDocument(t, t, d, "-0044-03-15T12:00:00Z"),
         "IssueDateTime '-0044-03-15T12:00:00Z': a year before 1 is not supported"},
        {"negative year of a date", ScheduleDocument(t, t, "-0001-01-01", i),
         "StartDate '-0001-01-01': a year before 1"},
        {"year beyond an int", ScheduleDocument(t, t, "99999999999-01-01", i),
         "StartDate '99999999999-01-01': a year beyond 2147483647"},
        {"forty decimals", ScheduleDocument("08:00:00." + std::string(39, '0') + "1", t, d, i),
         "seconds with more than six decimals"},
        {"seven decimals rounding up to the next minute",
         ScheduleDocument(t, "08:00:59.9999999", d, i), "seconds with more than six decimals"},
        {"midnight at the end of the day", ScheduleDocument("24:00:00", t, d, i), ""},
        {"six decimals", ScheduleDocument("23:59:59.999999", t, d, i), ""},
        {"trailing zeros beyond six decimals", ScheduleDocument("08:00:00.5000000000", t, d, i),
         ""},
        {"zones at the ends of the range",
         ScheduleDocument("08:00:00+14:00", "09:00:00-14:00", d, i), ""},
        {"five-digit year", ScheduleDocument(t, t, "12345-01-01", "2147483647-12-31T23:59:59Z"),
         ""},
        {"padded blanks", ScheduleDocument("  08:00:00\n", t, d, i), ""},
    };
}

TEST(KeptValues, EachValueIsWrittenBackAsItIsOrRefusedWhenLoaded) {
    for (const ValueRow& row : Rows()) {
        SCOPED_TRACE(row.label);
        const std::vector<unsigned char> bytes = ToBytes(row.document);
        const std::wstring error = ParseError(bytes);
        if (!row.message.empty()) {
            EXPECT_THAT(std::string(error.begin(), error.end()), HasSubstr(row.message));
            continue;
        }
        ASSERT_EQ(L"", error);
        const auto loaded = ParsePolicyDocument(bytes);
        const std::vector<unsigned char> written = WritePolicyDocument(*loaded);
        ASSERT_EQ(L"", ParseError(written)) << ToString(written);
        EXPECT_TRUE(*loaded == *ParsePolicyDocument(written)) << ToString(written);
    }
}

// Texts too short to hold seconds are no time or date and time; the check
// of kept values met them before the validator's error and read past
// their end (std::out_of_range escaped the parse).
TEST(KeptValues, TextsTooShortForSecondsAreRefusedAsInvalid) {
    const std::string t = "08:00:00";
    const std::string d = "2026-12-24";
    const std::string i = "2026-01-01T00:00:00Z";
    const std::vector<std::string> documents = {
        ScheduleDocument("1.0", t, d, i), ScheduleDocument(t, "08:00", d, i),
        ScheduleDocument("", t, d, i), ScheduleDocument(t, t, d, "2026-01-01T1"),
        ScheduleDocument(t, t, d, "2026-01-01T08:00:")};
    for (const std::string& document : documents) {
        SCOPED_TRACE(document);
        EXPECT_THROW(ParsePolicyDocument(ToBytes(document)), xml_schema::parsing);
    }
}

// format rewrote such a file with an empty StartTime, which check then
// rejected.
TEST(KeptValues, FormatLeavesAFileWithALeapSecondAlone) {
    TempDir dir;
    const auto file = dir.path() / "policy.xml";
    const std::vector<unsigned char> bytes =
        ToBytes(ScheduleDocument("23:59:60", "08:00:00", "2026-12-24", "2026-01-01T00:00:00Z"));
    WriteBytes(file, bytes);
    const ToolResult result = RunFwpolicy({"format", file.string()});
    EXPECT_EQ(1, result.exitStatus);
    EXPECT_THAT(result.err, HasSubstr("a leap second is not supported"));
    EXPECT_EQ(bytes, ReadBytes(file));
}

}  // namespace
}  // namespace fwcommon::test
