#include <fwcommon/ILogDispFacade.h>
#include <fwcommon/LogFacility.h>
#include <fwcommon/MemoryLogSink.h>
#include <fwcommon/StreamLogSink.h>
#include "common/StartLine.h"
#include "support/ComposedLog.h"

#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace fwcommon {
namespace {

using ilogdispfacade::ILogDispFacade;
using Lines = std::vector<std::wstring>;

class LogFacilityTest : public ::testing::Test {
protected:
    ILogDispFacade facade_;
    MemoryLogSink sink_;
};

TEST_F(LogFacilityTest, OneLinePerLevel) {
    facade_.SetComponentName(L"fwcommon");
    facade_.AttachSink(&sink_);
    const struct {
        int level;
        std::wstring expected;
    } cases[] = {
        {0, L"t fwcommon trace text"}, {1, L"d fwcommon trace text"},
        {2, L". fwcommon trace text"}, {3, L"+ fwcommon trace text"},
        {4, L"# fwcommon trace text"}, {-1, L"t fwcommon trace text"},
        {7, L"# fwcommon trace text"},
    };
    for (const auto& c : cases) {
        sink_.Clear();
        facade_.Log(std::wstring(L"trace text"), c.level);
        EXPECT_EQ(sink_.Lines(), Lines{c.expected}) << "level " << c.level;
    }
}

TEST_F(LogFacilityTest, EmptyComponentNameKeepsBothBlanks) {
    facade_.AttachSink(&sink_);
    facade_.Log(std::wstring(L"'Policy.xml': Create rule 'r1'"), 2);
    EXPECT_EQ(sink_.Lines(), Lines{L".  'Policy.xml': Create rule 'r1'"});
}

TEST_F(LogFacilityTest, MessagesWithoutASinkAreDropped) {
    facade_.Log(std::wstring(L"before"), 4);
    facade_.Log("before, narrow", 4);
    facade_.AttachSink(&sink_);
    facade_.Log(std::wstring(L"after"), 2);
    EXPECT_EQ(facade_.DetachSink(), &sink_);
    facade_.Log(std::wstring(L"detached"), 2);
    EXPECT_EQ(sink_.Lines(), Lines{L".  after"});
    EXPECT_EQ(facade_.DetachSink(), nullptr);
}

TEST_F(LogFacilityTest, AttachReplacesAndReturnsThePreviousSink) {
    MemoryLogSink second;
    EXPECT_FALSE(facade_.HasSink());
    EXPECT_EQ(facade_.AttachSink(&sink_), nullptr);
    EXPECT_TRUE(facade_.HasSink());
    EXPECT_EQ(facade_.AttachSink(&second), &sink_);
    facade_.Log(std::wstring(L"x"), 3);
    EXPECT_TRUE(sink_.Lines().empty());
    EXPECT_EQ(second.Lines(), Lines{L"+  x"});
    facade_.DetachSink();
    EXPECT_FALSE(facade_.HasSink());
}

TEST_F(LogFacilityTest, NarrowConveniencesWidenEachByte) {
    facade_.SetComponentName(L"c");
    facade_.AttachSink(&sink_);
    facade_.Log(std::string("narrow string"), 1);
    facade_.Log("c string", 3);
    facade_.Log(static_cast<const char*>(nullptr), 3);
    EXPECT_EQ(sink_.Lines(), (Lines{L"d c narrow string", L"+ c c string", L"+ c "}));
}

TEST_F(LogFacilityTest, SinksKeepLinesFromTheirMinimumLevel) {
    sink_.SetMinimumLevel(3);
    EXPECT_EQ(sink_.GetMinimumLevel(), 3);
    facade_.AttachSink(&sink_);
    for (int level = 0; level <= 4; ++level) {
        facade_.Log(std::to_wstring(level), level);
    }
    EXPECT_EQ(sink_.Lines(), (Lines{L"+  3", L"#  4"}));
}

TEST_F(LogFacilityTest, StreamSinkWritesUtf8LinesFromItsMinimumLevel) {
    std::ostringstream stream;
    StreamLogSink sink(2, stream);
    facade_.SetComponentName(L"fwpolicy");
    facade_.AttachSink(&sink);
    facade_.Log(std::wstring(L"hidden"), 1);
    facade_.Log(std::wstring(L"Create rule 'R\u00e9seau'"), 2);
    facade_.Log(std::wstring(L"failed"), 4);
    EXPECT_EQ(stream.str(), ". fwpolicy Create rule 'R\xC3\xA9seau'\n# fwpolicy failed\n");
}

TEST_F(LogFacilityTest, LevelOfLine) {
    using ilogdispfacade::ILogDispSink;
    EXPECT_EQ(ILogDispSink::LevelOfLine(L"t x"), 0);
    EXPECT_EQ(ILogDispSink::LevelOfLine(L"# x"), 4);
    EXPECT_EQ(ILogDispSink::LevelOfLine(L"x"), -1);
    EXPECT_EQ(ILogDispSink::LevelOfLine(L""), -1);
    EXPECT_EQ(ILogDispSink::LevelOfLine(nullptr), -1);
}

// Checks each line as it arrives, so a line composed from pieces of two
// messages would be caught even if the collected list looked complete.
class CheckingSink : public MemoryLogSink {
public:
    void Output(const wchar_t* line) override {
        const std::wstring text(line);
        if (text.rfind(L". worker ", 0) != 0) {
            torn_ = true;
        }
        MemoryLogSink::Output(line);
    }
    bool torn() const { return torn_; }

private:
    std::atomic<bool> torn_{false};
};

TEST_F(LogFacilityTest, EightThreadsLoseAndTearNoLine) {
    constexpr int kThreads = 8;
    constexpr int kMessages = 2000;
    CheckingSink sink;
    facade_.SetComponentName(L"worker");
    facade_.AttachSink(&sink);
    // The threads start together, so that their lines really interleave.
    test::RunTogether(kThreads, [this](std::size_t t) {
        for (int m = 0; m < kMessages; ++m) {
            facade_.Log(L"thread " + std::to_wstring(t) + L" message " + std::to_wstring(m), 2);
        }
    });
    EXPECT_FALSE(sink.torn());
    const auto lines = sink.Lines();
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kThreads * kMessages));
    std::set<std::wstring> distinct(lines.begin(), lines.end());
    EXPECT_EQ(distinct.size(), lines.size());
    for (int t = 0; t < kThreads; ++t) {
        for (int m = 0; m < kMessages; ++m) {
            const std::wstring expected =
                L". worker thread " + std::to_wstring(t) + L" message " + std::to_wstring(m);
            ASSERT_EQ(distinct.count(expected), 1u) << "missing thread " << t << " message " << m;
        }
    }
}

TEST(LibLogFacilityTest, IsOneProcessWideFacility) {
    auto& facility = GetLibLogFacility();
    EXPECT_EQ(&facility, &GetLibLogFacility());
    MemoryLogSink sink;
    auto* previous = facility.AttachSink(&sink);
    GetLibLogFacility().Log(std::wstring(L"through the library's facility"), 2);
    facility.AttachSink(previous);
    EXPECT_EQ(sink.Lines().size(), 1u);
}

TEST(LibLogFacilityTest, ComposesAMessageOnlyForAnAttachedSink) {
    auto& facility = GetLibLogFacility();
    auto* previous = facility.DetachSink();
    int composed = 0;
    const auto compose = [&composed] {
        ++composed;
        return std::wstring(L"composed");
    };
    LogComposed(kLogNotFound, compose);
    EXPECT_EQ(composed, 0);
    MemoryLogSink sink;
    facility.AttachSink(&sink);
    LogComposed(kLogNotFound, compose);
    facility.AttachSink(previous);
    EXPECT_EQ(composed, 1);
    EXPECT_EQ(sink.Lines(), Lines{L"+ " + facility.GetComponentName() + L" composed"});
}

TEST(MonitorPathTest, StoresACopy) {
    std::wstring path = L"old";
    GetMonitorPath(path);
    EXPECT_EQ(path, L"");
    std::wstring stored = L"/var/lib/monitor";
    SetMonitorPath(stored);
    stored = L"changed";
    GetMonitorPath(path);
    EXPECT_EQ(path, L"/var/lib/monitor");
    SetMonitorPath(L"");
}

}  // namespace
}  // namespace fwcommon
