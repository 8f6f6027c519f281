#pragma once

#include <string>

namespace fwcommon::test {

// The message of the exception of type E that call throws, or what the
// call did instead: "(no exception)" or "(another exception)".
template <typename E, typename Call>
std::string Thrown(Call call) {
    try {
        call();
    } catch (const E& e) {
        return e.what();
    } catch (...) {
        return "(another exception)";
    }
    return "(no exception)";
}

}  // namespace fwcommon::test
