#pragma once

#include <string>

#include <boost/thread/shared_mutex.hpp>

#include <fwcommon/ILogDispSink.h>
#include <fwcommon/export.h>

namespace ilogdispfacade {

// The logging facility: composes one line per message and hands it to the
// attached sink, or drops it when no sink is attached.
//
// A line is the level character from "td.+#" (levels 0 to 4), a blank,
// the component name, a blank and the message; no time stamp, no line
// break. Levels below 0 count as 0 and levels above 4 as 4.
//
// Every message takes the facility's lock in shared mode, so any number of
// threads may log at once; attaching or detaching the sink and setting the
// component name take it in exclusive mode, so they wait for the messages
// in flight, and once they return no thread is inside the old sink. The
// facility does not own the sink: the host keeps it alive while it is
// attached. Lock failures surface as boost::thread exceptions.
//
// The library's own facility is GetLibLogFacility() (LogFacility.h); other
// instances serve hosts and tests.
class FWCOMMON_EXPORT ILogDispFacade {
public:
    // The level characters, indexed by level.
    static constexpr const wchar_t* kLevelCharacters = L"td.+#";

    ILogDispFacade();
    ILogDispFacade(const ILogDispFacade&) = delete;
    ILogDispFacade& operator=(const ILogDispFacade&) = delete;
    ~ILogDispFacade();

    // Attaches a sink (or none, for nullptr) in place of the current one;
    // returns the sink that was attached before.
    ILogDispSink* AttachSink(ILogDispSink* sink);
    // Detaches the sink; returns it (nullptr when none was attached).
    ILogDispSink* DetachSink();
    void SetComponentName(const std::wstring& name);
    std::wstring GetComponentName() const;
    // True while a sink is attached: a caller may skip composing a costly
    // message when none is. Another thread may attach or detach a sink
    // right after the answer, which then only tells what was.
    bool HasSink() const;

    // Logs one message at a level (0 trace, 1 debug, 2 routine, 3 warning,
    // 4 failure).
    void Log(const std::wstring& message, int level);
    // Narrow messages are widened byte by byte with the ctype facet of the
    // process's global locale (std::locale()); a byte that it cannot
    // widen becomes "?".
    void Log(const std::string& message, int level);
    void Log(const char* message, int level);

    // The character of a level, after bringing it into 0..4.
    static wchar_t LevelCharacter(int level);

private:
    std::wstring componentName_;
    ILogDispSink* sink_ = nullptr;
    mutable boost::shared_mutex lock_;
};

}  // namespace ilogdispfacade
