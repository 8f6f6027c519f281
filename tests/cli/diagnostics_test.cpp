// How fwpolicy prints the position of a parser diagnostic.

#include <sstream>

#include <gtest/gtest.h>

#include "render/Diagnostics.h"

namespace fwpolicy {
namespace {

std::string Printed(const xml_schema::diagnostics& diagnostics) {
    std::ostringstream out;
    PrintDocumentErrors(out, "policy.xml", xml_schema::parsing(diagnostics));
    return out.str();
}

TEST(FwpolicyDiagnostics, PrintOnlyThePositionTheParserGave) {
    xml_schema::diagnostics diagnostics;
    diagnostics.push_back(
        xml_schema::error(xml_schema::severity::error, L"policy", 12, 7, L"with a position"));
    diagnostics.push_back(
        xml_schema::error(xml_schema::severity::error, L"policy", 12, 0, L"no column"));
    diagnostics.push_back(
        xml_schema::error(xml_schema::severity::error, L"policy", 0, 0, L"no position"));
    EXPECT_EQ(
        "policy.xml:12:7: error: with a position\n"
        "policy.xml:12: error: no column\n"
        "policy.xml: error: no position\n",
        Printed(diagnostics));
}

}  // namespace
}  // namespace fwpolicy
