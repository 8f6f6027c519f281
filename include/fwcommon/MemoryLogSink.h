#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include <fwcommon/ILogDispSink.h>
#include <fwcommon/export.h>

namespace fwcommon {

// A log sink that keeps the lines of at least its minimum level in memory,
// in arrival order; meant for tests and for hosts that show recent lines.
// Any thread may call any operation.
class FWCOMMON_EXPORT MemoryLogSink : public ilogdispfacade::ILogDispSink {
public:
    explicit MemoryLogSink(int minimumLevel = 0);

    std::wstring GetName() const override;
    void SetMinimumLevel(int level) override;
    int GetMinimumLevel() const override;
    void Output(const wchar_t* line) override;

    // A copy of the kept lines.
    std::vector<std::wstring> Lines() const;
    void Clear();

private:
    std::atomic<int> minimumLevel_;
    mutable std::mutex linesLock_;
    std::vector<std::wstring> lines_;
};

}  // namespace fwcommon
