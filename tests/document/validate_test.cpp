// The validation without a document must accept exactly what the parse
// accepts, and refuse the rest with the diagnostics the parse gives: the
// tool proves with it that an edited document reads back.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/PolicyDocument.h>
#include "common/PolicyText.h"
#include "common/TestFiles.h"
#include "document/DocumentTestSupport.h"

namespace fwcommon::test {
namespace {

std::wstring ValidateError(const std::vector<unsigned char>& bytes) {
    try {
        ValidatePolicyDocument(bytes);
    } catch (const xml_schema::exception& e) {
        return ErrorText(e);
    }
    return std::wstring();
}

std::string Replaced(std::string text, const std::string& what, const std::string& with) {
    text.replace(text.find(what), what.size(), with);
    return text;
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

TEST(ValidatePolicyDocument, AcceptsWhatTheParseAccepts) {
    for (const char* file :
         {"examples/policy.xml", "tests/data/edge-kinds.xml", "tests/data/cli/chain.xml",
          "tests/data/cli/lint-findings.xml", "tests/data/cli/query-branch.xml",
          "tests/data/cli/lowercase-action.xml"}) {
        SCOPED_TRACE(file);
        const auto bytes = ReadBytes(SourcePath(file));
        EXPECT_EQ(ParseError(bytes), ValidateError(bytes));
    }
    EXPECT_EQ(L"", ValidateError(ToBytes(MinimalPolicy())));
}

TEST(ValidatePolicyDocument, RefusesWhatTheParseRefusesWithItsDiagnostics) {
    const std::string minimal = MinimalPolicy();
    const std::string issued = "2026-01-01T00:00:00Z";
    const struct {
        const char* label;
        std::string text;
    } rows[] = {
        {"empty", ""},
        {"not xml", "not xml at all"},
        {"cut short", "<sv:Policy"},
        {"invalid value", Replaced(minimal, "900", "soon")},
        {"unknown element", Replaced(minimal, "</Properties>", "<Unknown/></Properties>")},
        {"unknown type", Replaced(minimal, "<Rules>", "<Rules><Rule xsi:type=\"sv:NoSuchRule\"/>")},
        {"other root", Replaced(minimal, "sv:Policy", "sv:Rules")},
        {"NUL byte", Replaced(minimal, "<Rules>", std::string("<Rules>\0", 8))},
        {"DOCTYPE", "<!DOCTYPE p []>" + minimal},
        {"UTF-16 mark", "\xFF\xFE" + minimal},
        {"too deep", Replaced(minimal, "<Rules>", "<Rules>" + Repeated("<a>", 300))},
        {"leap second", Replaced(minimal, issued, "2026-01-01T23:59:60Z")},
        {"year before 1", Replaced(minimal, issued, "-0044-01-01T00:00:00Z")},
        {"seven decimals", Replaced(minimal, issued, "2026-01-01T00:00:00.1234567Z")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        const std::wstring parse = ParseError(ToBytes(row.text));
        ASSERT_NE(L"", parse) << "the parse accepts it";
        EXPECT_EQ(Narrow(parse), Narrow(ValidateError(ToBytes(row.text))));
    }
}

}  // namespace
}  // namespace fwcommon::test
