#include "BenchPolicies.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>

namespace fwbench {
namespace {

const char* const kLabels[] = {"1k", "10k", "20k", "100k", "addr200k"};

std::string PolicyDirectory() {
    const char* dir = std::getenv("FWCOMMON_BENCH_POLICY_DIR");
    return dir != nullptr && *dir != '\0' ? dir : FWCOMMON_BENCH_POLICY_DIR;
}

}  // namespace

std::vector<unsigned char> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>());
}

PolicySize PolicyFor(const std::string& label) {
    for (const char* known : kLabels) {
        if (label == known) {
            return {label, PolicyDirectory() + "/policy-" + label + ".xml"};
        }
    }
    throw std::invalid_argument("unknown policy size '" + label + "'");
}

std::vector<PolicySize> PoliciesFor(const std::string& labels) {
    std::vector<PolicySize> sizes;
    std::istringstream in(labels);
    std::string label;
    while (std::getline(in, label, ',')) {
        if (!label.empty()) {
            sizes.push_back(PolicyFor(label));
        }
    }
    return sizes;
}

const std::vector<unsigned char>& PolicyBytes(const PolicySize& size) {
    static std::map<std::string, std::vector<unsigned char>> cache;
    auto found = cache.find(size.path);
    if (found == cache.end()) {
        found = cache.emplace(size.path, ReadFileBytes(size.path)).first;
    }
    return found->second;
}

std::vector<unsigned char> SchemaBytes() {
    return ReadFileBytes(FWCOMMON_BENCH_SCHEMA);
}

fwcommon::Context::ModesMap AllEditable() {
    fwcommon::Context::ModesMap modes;
    for (int type : {fwcommon::eVPNRules, fwcommon::eNATRules, fwcommon::eTunnelRules,
                     fwcommon::eLocalRules, fwcommon::eTransitRules}) {
        modes[type] = fwcommon::Context::Modes::eEditable;
    }
    for (int type :
         {fwcommon::eInterfaceObject, fwcommon::eIpAddressObject, fwcommon::eServiceObject,
          fwcommon::eScheduleObject, fwcommon::eSarvoGroupObject}) {
        modes[type] = fwcommon::Context::Modes::eEditable;
    }
    return modes;
}

}  // namespace fwbench
