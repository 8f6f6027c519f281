// Which schema validates a document: the built-in copy, or the file a host
// names; never whatever lies in the current directory.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/StartLine.h"
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

// The threads make the first parses with a schema file no parse of this
// process has read yet, so they meet a grammar pool as it comes fresh from
// the loading: whatever Xerces leaves to build on first use would be built
// by several of them at once.
//
// Run under ThreadSanitizer with `scripts/tsan 'SchemaSource.*'`. With the
// lock in GrammarPoolFor taken out (a scratch change), every thread loads
// the grammar and inserts its pool into the map of pools at once, and
// ThreadSanitizer reports a data race in GrammarPoolFor (std::map::emplace),
// exit status 66; with the lock the test passes. What Xerces builds on first
// use is built inside the system's Xerces, which is not instrumented: with
// that building left out, the test passed 20 times over under
// ThreadSanitizer, so only the result comparison below could catch it.
TEST(SchemaSource, FirstParsesWithASchemaRunOnSeveralThreadsAtOnce) {
    TempDir dir;
    const fs::path schema = dir.path() / "threads-first-rules.xsd";
    WriteBytes(schema, ReadBytes(SourcePath("schema/rules.xsd")));
    const std::string path = schema.string();
    const std::wstring schemaPath(path.begin(), path.end());
    const auto bytes = Example();

    constexpr std::size_t kThreads = 6;
    constexpr int kRounds = 10;
    std::vector<std::vector<std::unique_ptr<Sarvo::PolicyType>>> parsed(kThreads);
    std::vector<std::string> failures(kThreads);
    RunTogether(kThreads, [&](std::size_t t) {
        try {
            for (int round = 0; round < kRounds; ++round) {
                parsed[t].push_back(ParsePolicyDocument(bytes, schemaPath));
            }
        } catch (const std::exception& e) {
            failures[t] = e.what();
        }
    });
    const auto expected = ParsePolicyDocument(bytes);
    for (std::size_t t = 0; t < kThreads; ++t) {
        ASSERT_EQ("", failures[t]) << "thread " << t;
        ASSERT_EQ(static_cast<std::size_t>(kRounds), parsed[t].size());
        for (const auto& document : parsed[t]) {
            EXPECT_TRUE(*document == *expected) << "thread " << t;
        }
    }
}

}  // namespace
}  // namespace fwcommon::test
