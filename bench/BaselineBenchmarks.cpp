// Plain XML processing of the same bytes, the yardsticks of the store:
// Xerces-C validating DOM parse, DOM serialisation, pugixml parse.

#include <string>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include "BenchRegistry.h"
#include "PlainXerces.h"

namespace fwbench {
namespace {

PlainXerces& Xerces() {
    static PlainXerces xerces;
    return xerces;
}

void XercesParse(benchmark::State& state, const PolicySize& size) {
    const auto& bytes = PolicyBytes(size);
    for (auto _ : state) {
        DomDocumentPtr document(Xerces().Parse(bytes));
        benchmark::DoNotOptimize(document.get());
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void DomSerialize(benchmark::State& state, const PolicySize& size) {
    const auto& bytes = PolicyBytes(size);
    DomDocumentPtr document(Xerces().Parse(bytes));
    std::vector<unsigned char> out;
    for (auto _ : state) {
        Xerces().Serialize(*document, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["out_bytes"] = static_cast<double>(out.size());
}

void PugixmlParse(benchmark::State& state, const PolicySize& size) {
    const auto& bytes = PolicyBytes(size);
    for (auto _ : state) {
        pugi::xml_document document;
        const pugi::xml_parse_result result = document.load_buffer(bytes.data(), bytes.size());
        if (!result) {
            state.SkipWithError(result.description());
            break;
        }
        benchmark::DoNotOptimize(document.first_child());
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

}  // namespace

void RegisterBaselineBenchmarks(const std::vector<PolicySize>& sizes) {
    for (const PolicySize& size : sizes) {
        benchmark::RegisterBenchmark(("Baseline.XercesParse/" + size.label).c_str(), XercesParse,
                                     size)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Baseline.DomSerialize/" + size.label).c_str(), DomSerialize,
                                     size)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Baseline.PugixmlParse/" + size.label).c_str(), PugixmlParse,
                                     size)
            ->Unit(benchmark::kMillisecond);
    }
}

}  // namespace fwbench
