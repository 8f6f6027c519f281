#pragma once

#include <string>

#include <fwcommon/export.h>

namespace ilogdispfacade {

// A destination of finished log lines, owned by the host application.
//
// The log facility calls exactly one operation on it, Output (the fourth
// virtual operation), once per message, from whichever thread logs, and
// several threads may be inside Output at once: implementations must
// accept concurrent calls. The other operations are for the host, which
// decides which levels a sink keeps.
class FWCOMMON_EXPORT ILogDispSink {
public:
    ILogDispSink() = default;
    ILogDispSink(const ILogDispSink&) = default;
    ILogDispSink& operator=(const ILogDispSink&) = default;

    // A short name of the sink for the host's diagnostics.
    virtual std::wstring GetName() const = 0;
    // Lines below this level (0 to 4) are not kept.
    virtual void SetMinimumLevel(int level) = 0;
    virtual int GetMinimumLevel() const = 0;
    // Receives one finished line: level character, blank, component name,
    // blank, message; null-terminated, without a line break. The pointer
    // is valid only during the call.
    virtual void Output(const wchar_t* line) = 0;
    virtual ~ILogDispSink();

    // The level (0 to 4) of a finished line, read from its first
    // character; -1 when the line does not start with a level character.
    static int LevelOfLine(const wchar_t* line);
};

}  // namespace ilogdispfacade
