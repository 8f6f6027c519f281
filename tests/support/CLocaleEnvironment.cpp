// The support tests run under the C locale whatever the caller's
// environment says, so that the user default locale takes its C/POSIX
// path (UTF-8 text) in every run. This runs before main().

#include <cstdlib>

namespace {

const bool kCLocale = [] {
    setenv("LC_ALL", "C", 1);
    return true;
}();

}  // namespace
