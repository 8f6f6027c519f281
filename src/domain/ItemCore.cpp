#include "domain/ItemCore.h"

#include <atomic>
#include <stdexcept>
#include <string>

#include <fwcommon/StringUtilities.h>

namespace fwcommon {

std::uint32_t NextItemIdentifier() {
    static std::atomic<std::uint32_t> counter{0};
    return ++counter;
}

void ItemCore::Require(int id, const char* function) const {
    if (!Answers(id)) {
        throw std::logic_error(StringUtilities::GetErrorString(function, "Invalid parameter name"));
    }
}

void ThrowUnansweredParam(const char* className) {
    throw std::runtime_error(std::string("Application function: ") + className +
                             "::GetParam. Details: Incorrect parameter type.");
}

std::wstring Decimal(std::int64_t value) {
    return std::to_wstring(value);
}

}  // namespace fwcommon
