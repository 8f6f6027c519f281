#include "ProcessMemory.h"

#include <malloc.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace fwbench {

ResidentMemory ReadResidentMemory() {
    std::ifstream status("/proc/self/status");
    if (!status) {
        throw std::runtime_error("cannot read /proc/self/status");
    }
    ResidentMemory memory;
    std::string line;
    while (std::getline(status, line)) {
        std::istringstream fields(line);
        std::string key;
        std::size_t kilobytes = 0;
        fields >> key >> kilobytes;
        if (key == "VmRSS:") {
            memory.current = kilobytes * 1024;
        } else if (key == "VmHWM:") {
            memory.peak = kilobytes * 1024;
        }
    }
    return memory;
}

bool ResetPeakResident() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

void ReleaseFreeHeap() {
    malloc_trim(0);
}

}  // namespace fwbench
