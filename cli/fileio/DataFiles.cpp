#include "fileio/DataFiles.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include <fwcommon/DictionaryFormatError.h>
#include <fwcommon/IcmpDictionary.h>
#include <fwcommon/PortDictionary.h>
#include <fwcommon/ProtocolDictionary.h>
#include "terminal/SafeText.h"

namespace fwpolicy {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProtocolsFile = "protocols.txt";
constexpr const char* kServicesFile = "services.txt";
constexpr const char* kIcmpFile = "icmp.txt";

fs::path ExecutableDirectory() {
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : executable.parent_path();
}

std::vector<fs::path> CandidateDirectories() {
    if (const char* fromEnvironment = std::getenv("FWPOLICY_DATA_DIR")) {
        return {fromEnvironment};
    }
    std::vector<fs::path> candidates;
    const fs::path executableDirectory = ExecutableDirectory();
    if (!executableDirectory.empty()) {
        candidates.push_back((executableDirectory / FWPOLICY_DATA_DIR_FROM_BIN).lexically_normal());
    }
    candidates.push_back(FWPOLICY_INSTALLED_DATA_DIR);
    return candidates;
}

bool IsReadable(const fs::path& file) {
    return std::ifstream(file).is_open();
}

bool HoldsADictionary(const fs::path& directory) {
    for (const char* file : {kProtocolsFile, kServicesFile, kIcmpFile}) {
        if (IsReadable(directory / file)) {
            return true;
        }
    }
    return false;
}

void ReportMissingDictionaries(const std::vector<fs::path>& searched) {
    std::cerr << "fwpolicy: warning: no protocol, port or ICMP dictionary could be read (looked in";
    const char* separator = " ";
    for (const fs::path& directory : searched) {
        std::cerr << separator << directory.string();
        separator = ", ";
    }
    std::cerr << "); protocols, ports and ICMP types are shown as numbers\n";
}

bool LoadFrom(const fs::path& directory) {
    try {
        fwcommon::ProtocolDictionary::Instance().Initialize((directory / kProtocolsFile).wstring());
        fwcommon::PortDictionary::Instance().Initialize((directory / kServicesFile).wstring());
        fwcommon::IcmpDictionary::Instance().Initialize((directory / kIcmpFile).wstring());
    } catch (const fwcommon::DictionaryFormatError& e) {
        std::cerr << "fwpolicy: " << terminal::Printable(e.file()) << ":" << e.line()
                  << ": a number field of this dictionary line is not a decimal number\n";
        return false;
    }
    return true;
}

bool FindAndLoadDictionaries() {
    const std::vector<fs::path> candidates = CandidateDirectories();
    for (const fs::path& directory : candidates) {
        if (HoldsADictionary(directory)) {
            return LoadFrom(directory);
        }
    }
    ReportMissingDictionaries(candidates);
    return true;
}

}  // namespace

bool LoadDictionaries() {
    static const bool loaded = FindAndLoadDictionaries();
    return loaded;
}

}  // namespace fwpolicy
