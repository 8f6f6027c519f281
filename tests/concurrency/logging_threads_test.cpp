// The library's log facility under several threads: messages from many
// threads while the sink is attached, swapped and detached over and over.
// Each line reaches at most one sink, whole; once DetachSink (or AttachSink
// of another sink) has returned, the old sink is never called again and may
// be destroyed at once.

#include <atomic>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/ILogDispSink.h>
#include <fwcommon/LogFacility.h>
#include <fwcommon/MemoryLogSink.h>
#include "common/StartLine.h"

namespace fwcommon {
namespace {

using ilogdispfacade::ILogDispSink;

// A sink that notices a call after it was retired, and keeps its lines.
class RetiringSink : public MemoryLogSink {
public:
    void Output(const wchar_t* line) override {
        if (retired_.load()) {
            lateCalls.fetch_add(1);
        }
        MemoryLogSink::Output(line);
    }
    void Retire() { retired_.store(true); }

    static std::atomic<int> lateCalls;

private:
    std::atomic<bool> retired_{false};
};

std::atomic<int> RetiringSink::lateCalls{0};

constexpr int kLoggers = 4;
constexpr int kMessagesPerLogger = 2000;

std::wstring Message(int logger, int index) {
    return L"thread " + std::to_wstring(logger) + L" message " + std::to_wstring(index);
}

// Logs from kLoggers threads while the main thread swaps sinks; returns the
// lines every sink received, each sink deleted right after it was retired.
std::vector<std::wstring> LogWhileSwappingSinks(bool detachBetweenSinks) {
    auto& facility = GetLibLogFacility();
    std::atomic<int> running{kLoggers};
    // The swapping starts together with the loggers.
    test::StartLine start(kLoggers + 1);
    std::vector<std::thread> loggers;
    for (int t = 0; t < kLoggers; ++t) {
        loggers.emplace_back([t, &facility, &running, &start] {
            start.Wait();
            for (int i = 0; i < kMessagesPerLogger; ++i) {
                facility.Log(Message(t, i), i % 5);
            }
            running.fetch_sub(1);
        });
    }
    std::vector<std::wstring> received;
    auto collect = [&received](ILogDispSink* old) {
        auto* sink = static_cast<RetiringSink*>(old);
        if (sink == nullptr) {
            return;
        }
        sink->Retire();
        const auto lines = sink->Lines();
        received.insert(received.end(), lines.begin(), lines.end());
        delete sink;  // no thread may be inside it any more
    };
    // A sink is attached before the loggers start: on a busy machine they can
    // finish before this thread is scheduled again.
    collect(facility.AttachSink(new RetiringSink()));
    start.Wait();
    while (running.load() > 0) {
        collect(facility.AttachSink(new RetiringSink()));
        if (detachBetweenSinks) {
            collect(facility.DetachSink());
        }
    }
    for (auto& logger : loggers) {
        logger.join();
    }
    collect(facility.DetachSink());
    return received;
}

void ExpectWholeDistinctLines(const std::vector<std::wstring>& lines) {
    std::set<std::wstring> expected;
    for (int t = 0; t < kLoggers; ++t) {
        for (int i = 0; i < kMessagesPerLogger; ++i) {
            const wchar_t level = ilogdispfacade::ILogDispFacade::LevelCharacter(i % 5);
            expected.insert(std::wstring(1, level) + L" " + GetLibLogFacility().GetComponentName() +
                            L" " + Message(t, i));
        }
    }
    std::set<std::wstring> seen;
    for (const auto& line : lines) {
        EXPECT_EQ(1u, expected.count(line)) << "a line that no thread logged";
        EXPECT_TRUE(seen.insert(line).second) << "a line reached two sinks";
    }
}

TEST(LoggingThreadsTest, SinksSwappedWhileThreadsLog) {
    RetiringSink::lateCalls = 0;
    const auto lines = LogWhileSwappingSinks(false);
    EXPECT_EQ(0, RetiringSink::lateCalls.load());
    ExpectWholeDistinctLines(lines);
    EXPECT_FALSE(lines.empty());
}

TEST(LoggingThreadsTest, SinksAttachedAndDetachedWhileThreadsLog) {
    RetiringSink::lateCalls = 0;
    const auto lines = LogWhileSwappingSinks(true);
    EXPECT_EQ(0, RetiringSink::lateCalls.load());
    ExpectWholeDistinctLines(lines);
}

// With one sink attached the whole time, no line is lost.
TEST(LoggingThreadsTest, EveryLineArrivesWhileOneSinkStaysAttached) {
    MemoryLogSink sink;
    GetLibLogFacility().AttachSink(&sink);
    test::RunTogether(kLoggers, [](std::size_t t) {
        for (int i = 0; i < kMessagesPerLogger; ++i) {
            GetLibLogFacility().Log(Message(static_cast<int>(t), i), i % 5);
        }
    });
    GetLibLogFacility().DetachSink();
    const auto lines = sink.Lines();
    EXPECT_EQ(static_cast<std::size_t>(kLoggers * kMessagesPerLogger), lines.size());
    ExpectWholeDistinctLines(lines);
}

}  // namespace
}  // namespace fwcommon
