// Semantic lint of the generated policies: the whole check of one parsed
// document (references, identifiers, unused objects, empty and shadowed
// rules). Parsing is outside the timed region.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <fwcommon/PolicyDocument.h>
#include <fwcommon/PolicyLint.h>

#include "BenchRegistry.h"

namespace fwbench {
namespace {

// The parsed document of a size, parsed once per process.
const Sarvo::PolicyType& Parsed(const PolicySize& size) {
    static std::map<std::string, std::unique_ptr<Sarvo::PolicyType>> cache;
    auto& policy = cache[size.label];
    if (!policy) {
        policy = fwcommon::ParsePolicyDocument(PolicyBytes(size));
    }
    return *policy;
}

void Lint(benchmark::State& state, const PolicySize& size) {
    const std::vector<fwcommon::LintDocument> documents{{size.path, &Parsed(size)}};
    std::size_t findings = 0;
    for (auto _ : state) {
        const auto result = fwcommon::LintPolicies(documents);
        findings = result.size();
        benchmark::DoNotOptimize(result.data());
    }
    state.counters["findings"] = static_cast<double>(findings);
}

}  // namespace

void RegisterLintBenchmarks(const std::vector<PolicySize>& sizes) {
    for (const PolicySize& size : sizes) {
        benchmark::RegisterBenchmark(("Lint/" + size.label).c_str(), Lint, size)
            ->Unit(benchmark::kMillisecond);
    }
}

}  // namespace fwbench
