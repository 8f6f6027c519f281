#pragma once

#include <vector>

#include "BenchPolicies.h"

namespace fwbench {

// Each family registers its benchmarks once per policy size, named
// "<Operation>/<size label>" so that bench/run can tabulate them.
void RegisterBaselineBenchmarks(const std::vector<PolicySize>& sizes);
void RegisterStoreBenchmarks(const std::vector<PolicySize>& sizes);
void RegisterScannerBenchmarks(const std::vector<PolicySize>& sizes);
void RegisterContextBenchmarks(const std::vector<PolicySize>& sizes);
// Chains of references, built per size label (1k: 1,000 objects and rules).
void RegisterReferenceBenchmarks(const std::vector<PolicySize>& sizes);
void RegisterLintBenchmarks(const std::vector<PolicySize>& sizes);
void RegisterQueryBenchmarks(const std::vector<PolicySize>& sizes);
// The digests of merged inputs and the check of a merged document.
void RegisterProofBenchmarks(const std::vector<PolicySize>& sizes);

}  // namespace fwbench
