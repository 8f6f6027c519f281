// fwcommon_bench: document store operations and plain XML baselines on the
// generated policies. Options besides Google Benchmark's own:
//   --sizes=1k,10k,100k   which generated policies to measure (the default)

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchRegistry.h"

namespace {

// Takes --sizes=... out of argv and returns its value.
std::string TakeSizes(int& argc, char** argv) {
    std::string sizes = "1k,10k,100k";
    const char prefix[] = "--sizes=";
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], prefix, sizeof prefix - 1) == 0) {
            sizes = argv[i] + sizeof prefix - 1;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    return sizes;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<fwbench::PolicySize> sizes;
    try {
        sizes = fwbench::PoliciesFor(TakeSizes(argc, argv));
    } catch (const std::exception& e) {
        std::cerr << "fwcommon_bench: " << e.what() << '\n';
        return 2;
    }
    fwbench::RegisterBaselineBenchmarks(sizes);
    fwbench::RegisterStoreBenchmarks(sizes);
    fwbench::RegisterScannerBenchmarks(sizes);
    fwbench::RegisterContextBenchmarks(sizes);
    fwbench::RegisterReferenceBenchmarks(sizes);
    fwbench::RegisterLintBenchmarks(sizes);
    fwbench::RegisterQueryBenchmarks(sizes);
    fwbench::RegisterProofBenchmarks(sizes);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
