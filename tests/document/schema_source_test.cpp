// Which schema validates a document: the built-in copy, or the file a host
// names; never whatever lies in the current directory.

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "common/TestFiles.h"
#include "document/DocumentTestSupport.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;

std::vector<unsigned char> Example() {
    return ReadBytes(SourcePath("examples/policy.xml"));
}

// rules.xsd with Version narrowed to an integer, so that "1.0" is refused.
std::vector<unsigned char> StricterSchema() {
    std::string schema = ToString(ReadBytes(SourcePath("schema/rules.xsd")));
    const std::string version = "name=\"Version\" type=\"xs:string\"";
    schema.replace(schema.find(version), version.size(), "name=\"Version\" type=\"xs:int\"");
    return ToBytes(schema);
}

class CurrentDirectory {
public:
    explicit CurrentDirectory(const fs::path& path) : saved_(fs::current_path()) {
        fs::current_path(path);
    }
    ~CurrentDirectory() { fs::current_path(saved_); }

private:
    fs::path saved_;
};

TEST(SchemaSource, BuiltInSchemaDoesNotDependOnTheCurrentDirectory) {
    TempDir dir;
    WriteBytes(dir.path() / "rules.xsd", StricterSchema());
    CurrentDirectory inside(dir.path());
    EXPECT_EQ(L"", ParseError(Example()));
}

TEST(SchemaSource, GivenSchemaFileIsUsedEvenWithSpacesInItsPath) {
    TempDir dir;
    const fs::path folder = dir.path() / "schema folder with spaces";
    fs::create_directories(folder);
    WriteBytes(folder / "strict.xsd", StricterSchema());
    const std::string path = (folder / "strict.xsd").string();

    const std::wstring error = ParseError(Example(), std::wstring(path.begin(), path.end()));
    EXPECT_NE(std::wstring::npos, error.find(L"'1.0'")) << std::string(error.begin(), error.end());
}

TEST(SchemaSource, MissingSchemaFileIsAParsingError) {
    EXPECT_THROW(ParsePolicyDocument(Example(), L"/nonexistent/fwcommon/rules.xsd"),
                 xml_schema::parsing);
}

TEST(SchemaSource, ParsesFromSeveralThreadsAtOnce) {
    const auto bytes = Example();
    const auto expected = ParsePolicyDocument(bytes);
    std::vector<std::thread> threads;
    std::vector<int> equal(6, 0);
    for (std::size_t t = 0; t < equal.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 10; ++round) {
                equal[t] += *ParsePolicyDocument(bytes) == *expected ? 1 : 0;
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (int count : equal) {
        EXPECT_EQ(10, count);
    }
}

}  // namespace
}  // namespace fwcommon::test
