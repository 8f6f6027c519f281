// A failure that Xerces reports by exception becomes a diagnostic without a
// position: the exception knows where in Xerces it was thrown, not where in
// the document.

#include <gtest/gtest.h>
#include <xercesc/util/IOException.hpp>
#include <xercesc/util/PlatformUtils.hpp>

#include <fwcommon/rules.hxx>
#include "document/XercesFailure.h"

namespace fwcommon::document {
namespace {

class XercesFailure : public ::testing::Test {
protected:
    static void SetUpTestSuite() { xercesc::XMLPlatformUtils::Initialize(); }
    static void TearDownTestSuite() { xercesc::XMLPlatformUtils::Terminate(); }

    static xml_schema::error Recorded(const xercesc::XMLException& failure) {
        xsd::cxx::tree::error_handler<wchar_t> errors;
        RecordXercesFailure(errors, L"policy", failure);
        try {
            errors.throw_if_failed<xml_schema::parsing>();
        } catch (const xml_schema::parsing& e) {
            return e.diagnostics().front();
        }
        throw std::logic_error("no diagnostic recorded");
    }
};

TEST_F(XercesFailure, HasNoPositionInTheDocument) {
    const xercesc::IOException failure(__FILE__, __LINE__,
                                       xercesc::XMLExcepts::File_CouldNotReadFromFile);
    ASSERT_NE(0u, failure.getSrcLine());
    const xml_schema::error diagnostic = Recorded(failure);
    EXPECT_EQ(0u, diagnostic.line());
    EXPECT_EQ(0u, diagnostic.column());
    EXPECT_EQ(xml_schema::severity::error, diagnostic.severity()) << "fatal shows as error";
    EXPECT_EQ(L"policy", diagnostic.id());
    EXPECT_FALSE(diagnostic.message().empty());
}

}  // namespace
}  // namespace fwcommon::document
