#include <fwcommon/LogFacility.h>

#include <mutex>

namespace fwcommon {
namespace {

struct MonitorPath {
    std::mutex lock;
    std::wstring path;
};

MonitorPath& TheMonitorPath() {
    static MonitorPath* monitorPath = new MonitorPath();  // never destroyed
    return *monitorPath;
}

}  // namespace

ilogdispfacade::ILogDispFacade& GetLibLogFacility() {
    static auto* facility = new ilogdispfacade::ILogDispFacade();  // never destroyed
    return *facility;
}

void SetMonitorPath(const std::wstring& path) {
    auto& monitor = TheMonitorPath();
    std::lock_guard<std::mutex> guard(monitor.lock);
    monitor.path = path;
}

void GetMonitorPath(std::wstring& path) {
    auto& monitor = TheMonitorPath();
    std::lock_guard<std::mutex> guard(monitor.lock);
    path = monitor.path;
}

}  // namespace fwcommon
