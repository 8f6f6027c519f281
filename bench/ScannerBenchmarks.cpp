// The quick scanners, which read a document's version and its domain names
// without validating it or building the document classes.

#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <fwcommon/QuickScanners.h>

#include "BenchRegistry.h"

namespace fwbench {
namespace {

void GetXmlVersion(benchmark::State& state, const PolicySize& size) {
    const auto& bytes = PolicyBytes(size);
    std::wstring version;
    for (auto _ : state) {
        if (fwcommon::GetXmlVersion(bytes, version) != 0) {
            state.SkipWithError("the version could not be read");
            break;
        }
    }
    if (version != L"1.0") {
        state.SkipWithError("the scan did not find Version 1.0");
    }
}

void GetDomainNames(benchmark::State& state, const PolicySize& size) {
    const auto& bytes = PolicyBytes(size);
    std::vector<std::wstring> names;
    for (auto _ : state) {
        if (fwcommon::GetDomainNames(bytes, names) != 0) {
            state.SkipWithError("the domain names could not be read");
            break;
        }
    }
    if (names.empty()) {
        state.SkipWithError("the scan found no domain name");
    }
    state.counters["names"] = static_cast<double>(names.size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

}  // namespace

void RegisterScannerBenchmarks(const std::vector<PolicySize>& sizes) {
    for (const PolicySize& size : sizes) {
        benchmark::RegisterBenchmark(("GetXmlVersion/" + size.label).c_str(), GetXmlVersion, size)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("GetDomainNames/" + size.label).c_str(), GetDomainNames, size)
            ->Unit(benchmark::kMillisecond);
    }
}

}  // namespace fwbench
