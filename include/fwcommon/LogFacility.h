#pragma once

// The library's process-wide log facility and the monitor path.

#include <string>

#include <fwcommon/ILogDispFacade.h>
#include <fwcommon/export.h>

namespace fwcommon {

// The five levels of a log line, from its level character "t", "d", ".",
// "+", "#". The library logs routine operations at kLogRoutine, failed
// look-ups at kLogNotFound and refused calls at kLogRefused.
constexpr int kLogTrace = 0;
constexpr int kLogDebug = 1;
constexpr int kLogRoutine = 2;
constexpr int kLogNotFound = 3;
constexpr int kLogRefused = 4;

// The facility every part of the library logs through. Created on the
// first call (no component name, no sink) and never destroyed, so it may
// be used until the process ends; creation is safe from any thread.
FWCOMMON_EXPORT ilogdispfacade::ILogDispFacade& GetLibLogFacility();

// The process-wide monitor path, empty until set. Stores a copy; both
// operations are safe from any thread.
FWCOMMON_EXPORT void SetMonitorPath(const std::wstring& path);
// Assigns the stored path to the argument.
FWCOMMON_EXPORT void GetMonitorPath(std::wstring& path);

}  // namespace fwcommon
