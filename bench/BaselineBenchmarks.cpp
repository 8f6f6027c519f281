// Plain XML processing of the same bytes, the yardsticks of the store:
// Xerces-C validating DOM parse, DOM serialisation, pugixml parse; and the
// document binding on its own.

#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <fwcommon/PolicyDocument.h>

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

// The document binding alone, the floor under the store's load and write:
// validating parse into the typed document, and writing it back.
void DocumentParse(benchmark::State& state, const PolicySize& size) {
    const auto& bytes = PolicyBytes(size);
    for (auto _ : state) {
        auto policy = fwcommon::ParsePolicyDocument(bytes);
        benchmark::DoNotOptimize(policy.get());
        state.PauseTiming();
        policy.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void DocumentWrite(benchmark::State& state, const PolicySize& size) {
    const auto policy = fwcommon::ParsePolicyDocument(PolicyBytes(size));
    std::vector<unsigned char> out;
    for (auto _ : state) {
        out = fwcommon::WritePolicyDocument(*policy);
        benchmark::DoNotOptimize(out.data());
    }
}

}  // namespace

void RegisterBaselineBenchmarks(const std::vector<PolicySize>& sizes) {
    const std::pair<const char*, void (*)(benchmark::State&, const PolicySize&)> all[] = {
        {"Baseline.XercesParse", XercesParse},   {"Baseline.DomSerialize", DomSerialize},
        {"Baseline.PugixmlParse", PugixmlParse}, {"Document.Parse", DocumentParse},
        {"Document.Write", DocumentWrite},
    };
    for (const PolicySize& size : sizes) {
        for (const auto& [name, function] : all) {
            benchmark::RegisterBenchmark((std::string(name) + "/" + size.label).c_str(), function,
                                         size)
                ->Unit(benchmark::kMillisecond);
        }
    }
}

}  // namespace fwbench
