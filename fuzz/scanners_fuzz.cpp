// Quick scanners over arbitrary bytes: both scans must return one of their
// result codes, leave their output untouched on failure and never read
// anything but the bytes.

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include <fwcommon/QuickScanners.h>

#include "FuzzSupport.h"

namespace {

using fwcommon::fuzz::Fail;

void ScanVersion(const std::vector<unsigned char>& bytes) {
    const std::wstring untouched = L"untouched";
    std::wstring version = untouched;
    const int result = fwcommon::GetXmlVersion(bytes, version);
    if (result != 0 && result != -1) {
        Fail("GetXmlVersion returned " + std::to_string(result));
    }
    if (result != 0 && version != untouched) {
        Fail("GetXmlVersion changed the version on failure", version);
    }
    if (version.empty()) {
        Fail("GetXmlVersion reported an empty version");
    }
}

void ScanDomainNames(const std::vector<unsigned char>& bytes) {
    std::vector<std::wstring> names = {L"untouched"};
    const int result = fwcommon::GetDomainNames(bytes, names);
    if (result != 0 && result != -1) {
        Fail("GetDomainNames returned " + std::to_string(result));
    }
    if (result != 0 || bytes.empty()) {
        if (names != std::vector<std::wstring>{L"untouched"}) {
            Fail("GetDomainNames changed the names on failure or for empty bytes");
        }
        return;
    }
    const std::set<std::wstring> distinct(names.begin(), names.end());
    if (distinct.size() != names.size() ||
        !std::equal(names.begin(), names.end(), distinct.begin())) {
        Fail("GetDomainNames returned names that are not distinct and ascending");
    }
    for (const auto& name : names) {
        if (name.empty()) {
            Fail("GetDomainNames reported an empty name");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bytes = fwcommon::fuzz::ToBytes(data, size);
    ScanVersion(bytes);
    ScanDomainNames(bytes);
    return 0;
}
