#include "ProcessEnd.h"

#include <mutex>
#include <utility>

namespace fwpolicy {
namespace {

struct KeptObject {
    std::mutex mutex;
    std::shared_ptr<void> object;
};

KeptObject& Kept() {
    // Never destroyed, so that what it holds outlives the static
    // destructors and is never freed.
    static KeptObject* const kept = new KeptObject;
    return *kept;
}

}  // namespace

void LeaveToProcessEnd(std::shared_ptr<void> object) {
    std::shared_ptr<void> previous;
    {
        const std::lock_guard<std::mutex> lock(Kept().mutex);
        previous = std::exchange(Kept().object, std::move(object));
    }
    // previous, if this was its last owner, is destroyed here, outside the
    // lock.
}

}  // namespace fwpolicy
