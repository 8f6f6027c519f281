#include "fileio/TemporaryFiles.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace fwpolicy {
namespace {

// A replacement holds at most its new file and the old file's second name.
constexpr int kSlots = 2;
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];

// Read by the signal handler: plain arrays and flags only.
char heldNames[kSlots][PATH_MAX];
volatile sig_atomic_t held[kSlots];
struct sigaction previous[kSignalCount];
bool installed[kSignalCount];

extern "C" void RemoveAndEnd(int signal) {
    for (int slot = 0; slot < kSlots; ++slot) {
        if (held[slot])
            ::unlink(heldNames[slot]);
    }
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    ::sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    sigset_t only;
    ::sigemptyset(&only);
    ::sigaddset(&only, signal);
    ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
}

// Keeps the handled signals from arriving while a name is made and held.
class SignalsBlocked {
public:
    SignalsBlocked() {
        sigset_t set;
        ::sigemptyset(&set);
        for (const int signal : kSignals)
            ::sigaddset(&set, signal);
        ::sigprocmask(SIG_BLOCK, &set, &saved_);
    }
    ~SignalsBlocked() { ::sigprocmask(SIG_SETMASK, &saved_, nullptr); }
    SignalsBlocked(const SignalsBlocked&) = delete;
    SignalsBlocked& operator=(const SignalsBlocked&) = delete;

private:
    sigset_t saved_;
};

int FreeSlot() {
    for (int slot = 0; slot < kSlots; ++slot) {
        if (!held[slot])
            return slot;
    }
    throw std::logic_error("TemporaryFiles: more temporary files than a replacement makes");
}

int HeldSlot(const std::string& name) {
    for (int slot = 0; slot < kSlots; ++slot) {
        if (held[slot] && name == heldNames[slot])
            return slot;
    }
    return -1;
}

// Copies the name into a free slot; the caller blocks the signals.
int Enter(const std::string& name) {
    if (name.size() >= PATH_MAX) {
        errno = ENAMETOOLONG;
        return -1;
    }
    const int slot = FreeSlot();
    std::memcpy(heldNames[slot], name.c_str(), name.size() + 1);
    return slot;
}

}  // namespace

TemporaryFiles::TemporaryFiles() {
    struct sigaction action {};
    action.sa_handler = RemoveAndEnd;
    ::sigemptyset(&action.sa_mask);
    for (const int signal : kSignals)
        ::sigaddset(&action.sa_mask, signal);
    for (int i = 0; i < kSignalCount; ++i) {
        installed[i] = false;
        if (::sigaction(kSignals[i], nullptr, &previous[i]) != 0 ||
            previous[i].sa_handler == SIG_IGN)
            continue;
        installed[i] = ::sigaction(kSignals[i], &action, nullptr) == 0;
    }
}

TemporaryFiles::~TemporaryFiles() {
    const SignalsBlocked blocked;
    for (int slot = 0; slot < kSlots; ++slot) {
        if (held[slot])
            ::unlink(heldNames[slot]);
        held[slot] = 0;
    }
    for (int i = 0; i < kSignalCount; ++i) {
        if (installed[i])
            ::sigaction(kSignals[i], &previous[i], nullptr);
    }
}

int TemporaryFiles::Create(std::string& pattern) {
    const SignalsBlocked blocked;
    const int slot = Enter(pattern);
    if (slot < 0)
        return -1;
    const int fd = ::mkstemp(heldNames[slot]);
    if (fd >= 0) {
        pattern = heldNames[slot];
        held[slot] = 1;
    }
    return fd;
}

void TemporaryFiles::Hold(const std::string& name) {
    const SignalsBlocked blocked;
    const int slot = Enter(name);
    if (slot < 0)
        throw std::runtime_error("cannot hold temporary file name: " + name);
    held[slot] = 1;
}

void TemporaryFiles::Release(const std::string& name) {
    const SignalsBlocked blocked;
    const int slot = HeldSlot(name);
    if (slot >= 0)
        held[slot] = 0;
}

}  // namespace fwpolicy
