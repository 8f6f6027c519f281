// The flow query on the generated policies: one flow asked of every section
// of a parsed document, beside the load of the same document (Load,
// Document.Parse). Parsing is outside the timed region.
//   Query      stops at each section's deciding rule, as `fwpolicy query`;
//   Query.All  lists every rule that matches or may match (`--all`), so it
//              answers every active rule of the policy.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <fwcommon/PolicyDocument.h>
#include <fwcommon/PolicyQuery.h>

#include "BenchRegistry.h"

namespace fwbench {
namespace {

constexpr std::int64_t kTcp = 6;
constexpr std::int64_t kSsh = 22;
constexpr std::int64_t kClientPort = 40000;

const Sarvo::PolicyType& Parsed(const PolicySize& size) {
    static std::map<std::string, std::unique_ptr<Sarvo::PolicyType>> cache;
    auto& policy = cache[size.label];
    if (!policy) {
        policy = fwcommon::ParsePolicyDocument(PolicyBytes(size));
    }
    return *policy;
}

// SSH from a public host to another at a given time, both interfaces
// named: what an administrator asks most.
fwcommon::QueryFlow SshFlow() {
    fwcommon::QueryFlow flow;
    flow.from.kind = fwcommon::QueryEndpoint::Kind::eAddress;
    flow.from.text = L"10.1.0.12";
    flow.to.kind = fwcommon::QueryEndpoint::Kind::eAddress;
    flow.to.text = L"192.168.7.5";
    flow.inInterface = L"eth0";
    flow.outInterface = L"eth1";
    flow.service = fwcommon::QueryService{kTcp, kClientPort, kSsh};
    flow.at = fwcommon::QueryTime{2026, 12, 7, 10 * 3600};
    return flow;
}

void Query(benchmark::State& state, const PolicySize& size, bool all) {
    const Sarvo::PolicyType& policy = Parsed(size);
    const fwcommon::QueryFlow flow = SshFlow();
    fwcommon::QueryOptions options;
    options.all = all;
    std::size_t listed = 0;
    for (auto _ : state) {
        const auto result = fwcommon::QueryPolicy(policy, nullptr, flow, options);
        listed = 0;
        for (const auto& section : result) {
            listed += section.rules.size();
        }
        benchmark::DoNotOptimize(result.data());
    }
    state.counters["listed"] = static_cast<double>(listed);
}

}  // namespace

void RegisterQueryBenchmarks(const std::vector<PolicySize>& sizes) {
    for (const PolicySize& size : sizes) {
        benchmark::RegisterBenchmark(("Query/" + size.label).c_str(), Query, size, false)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Query.All/" + size.label).c_str(), Query, size, true)
            ->Unit(benchmark::kMillisecond);
    }
}

}  // namespace fwbench
