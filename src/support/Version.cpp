#include <fwcommon/version.h>

namespace fwcommon {

const char* RuntimeVersion() noexcept {
    return FWCOMMON_VERSION_STRING;
}

}  // namespace fwcommon
