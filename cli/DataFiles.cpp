#include "DataFiles.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include <fwcommon/DictionaryFormatError.h>
#include <fwcommon/IcmpDictionary.h>
#include <fwcommon/PortDictionary.h>
#include <fwcommon/ProtocolDictionary.h>

namespace fwpolicy {
namespace {

std::filesystem::path DataDirectory() {
    if (const char* fromEnvironment = std::getenv("FWPOLICY_DATA_DIR")) {
        return fromEnvironment;
    }
    for (const char* candidate : {FWPOLICY_INSTALLED_DATA_DIR, FWPOLICY_SOURCE_DATA_DIR}) {
        if (std::filesystem::exists(std::filesystem::path(candidate) / "protocols.txt")) {
            return candidate;
        }
    }
    return {};
}

}  // namespace

bool LoadDictionaries() {
    const std::filesystem::path directory = DataDirectory();
    if (directory.empty()) {
        return true;
    }
    try {
        fwcommon::ProtocolDictionary::Instance().Initialize(
            (directory / "protocols.txt").wstring());
        fwcommon::PortDictionary::Instance().Initialize((directory / "services.txt").wstring());
        fwcommon::IcmpDictionary::Instance().Initialize((directory / "icmp.txt").wstring());
    } catch (const fwcommon::DictionaryFormatError& e) {
        std::cerr << "fwpolicy: " << e.file() << ":" << e.line()
                  << ": a number field of this dictionary line is not a decimal number\n";
        return false;
    }
    return true;
}

}  // namespace fwpolicy
