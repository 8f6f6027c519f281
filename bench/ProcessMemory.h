#pragma once

#include <cstddef>

namespace fwbench {

// Resident memory of this process, from /proc/self/status, in bytes.
struct ResidentMemory {
    std::size_t current = 0;  // VmRSS
    std::size_t peak = 0;     // VmHWM, the high-water mark since start or reset
};

// Throws std::runtime_error when /proc/self/status cannot be read.
ResidentMemory ReadResidentMemory();

// Resets the high-water mark to the current resident size (Linux 4.0 and
// later). Returns false when the kernel refuses.
bool ResetPeakResident();

// Hands freed heap memory back to the system, so that the resident size
// shows what is still in use.
void ReleaseFreeHeap();

}  // namespace fwbench
