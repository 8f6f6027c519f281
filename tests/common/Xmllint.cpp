#include "common/Xmllint.h"

#include <cstdio>
#include <string>

#include "common/TestFiles.h"

namespace fwcommon::test {

::testing::AssertionResult XmllintAccepts(const std::vector<unsigned char>& bytes) {
    const std::string xmllint = FWCOMMON_XMLLINT;
    if (xmllint.empty() || xmllint.find("NOTFOUND") != std::string::npos) {
        return ::testing::AssertionFailure() << "xmllint is not installed (scripts/bootstrap)";
    }
    TempDir dir;
    const auto document = dir.path() / "document.xml";
    WriteBytes(document, bytes);
    const std::string command = xmllint + " --noout --nonet --schema '" +
                                SourcePath("schema/rules.xsd").string() + "' '" +
                                document.string() + "' 2>&1";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return ::testing::AssertionFailure() << "cannot run " << command;
    }
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    const int status = pclose(pipe);
    if (status != 0) {
        return ::testing::AssertionFailure() << "xmllint rejected the document:\n" << output;
    }
    return ::testing::AssertionSuccess();
}

}  // namespace fwcommon::test
