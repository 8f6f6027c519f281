// The ready-made log sinks: to a stream and to memory.

#include <fwcommon/MemoryLogSink.h>
#include <fwcommon/StreamLogSink.h>
#include <fwcommon/StringUtilities.h>

namespace fwcommon {

StreamLogSink::StreamLogSink(int minimumLevel, std::ostream& stream)
    : minimumLevel_(minimumLevel), stream_(stream) {}

std::wstring StreamLogSink::GetName() const {
    return L"stream";
}

void StreamLogSink::SetMinimumLevel(int level) {
    minimumLevel_ = level;
}

int StreamLogSink::GetMinimumLevel() const {
    return minimumLevel_;
}

void StreamLogSink::Output(const wchar_t* line) {
    if (LevelOfLine(line) < minimumLevel_) {
        return;
    }
    std::string narrow;
    StringUtilities::WideStringToMultiByteString(line, narrow);
    narrow += '\n';
    std::lock_guard<std::mutex> guard(streamLock_);
    stream_.write(narrow.data(), static_cast<std::streamsize>(narrow.size()));
    stream_.flush();
}

MemoryLogSink::MemoryLogSink(int minimumLevel) : minimumLevel_(minimumLevel) {}

std::wstring MemoryLogSink::GetName() const {
    return L"memory";
}

void MemoryLogSink::SetMinimumLevel(int level) {
    minimumLevel_ = level;
}

int MemoryLogSink::GetMinimumLevel() const {
    return minimumLevel_;
}

void MemoryLogSink::Output(const wchar_t* line) {
    if (LevelOfLine(line) < minimumLevel_) {
        return;
    }
    std::wstring copy(line);
    std::lock_guard<std::mutex> guard(linesLock_);
    lines_.push_back(std::move(copy));
}

std::vector<std::wstring> MemoryLogSink::Lines() const {
    std::lock_guard<std::mutex> guard(linesLock_);
    return lines_;
}

void MemoryLogSink::Clear() {
    std::lock_guard<std::mutex> guard(linesLock_);
    lines_.clear();
}

}  // namespace fwcommon
