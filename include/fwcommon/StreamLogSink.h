#pragma once

#include <atomic>
#include <iostream>
#include <mutex>
#include <ostream>
#include <string>

#include <fwcommon/ILogDispSink.h>
#include <fwcommon/export.h>

namespace fwcommon {

// A log sink that writes each line of at least its minimum level to a
// narrow stream (stderr by default), followed by a line feed. Lines are
// converted with StringUtilities::WideStringToMultiByteString under the
// user's default locale. The stream is borrowed: it must outlive the sink.
// Any thread may call any operation; lines never interleave.
class FWCOMMON_EXPORT StreamLogSink : public ilogdispfacade::ILogDispSink {
public:
    explicit StreamLogSink(int minimumLevel = 0, std::ostream& stream = std::cerr);

    std::wstring GetName() const override;
    void SetMinimumLevel(int level) override;
    int GetMinimumLevel() const override;
    void Output(const wchar_t* line) override;

private:
    std::atomic<int> minimumLevel_;
    std::ostream& stream_;
    std::mutex streamLock_;
};

}  // namespace fwcommon
