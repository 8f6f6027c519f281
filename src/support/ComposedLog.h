#pragma once

#include <string>
#include <utility>

#include <fwcommon/LogFacility.h>

namespace fwcommon {

// Logs a message through the library's facility, composing it only when a
// sink is attached: compose() returns the message (a std::wstring) and is
// not called at all otherwise, so a costly message (a dump of rules) costs
// nothing while nobody listens. Safe from any thread, as the facility is.
template <typename Compose>
void LogComposed(int level, Compose&& compose) {
    auto& facility = GetLibLogFacility();
    if (facility.HasSink()) {
        facility.Log(std::forward<Compose>(compose)(), level);
    }
}

}  // namespace fwcommon
