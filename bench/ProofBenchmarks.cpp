// The checks that a merged document reads back: the digest of one input
// (taken as each file is read), the check of the merged document against
// its inputs' digests, and the whole validating read it stands in for.
// The merged document is that of the policy registered twice, as
// `fwpolicy merge` of two copies gives it; it is made outside the timed
// region.

#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <fwcommon/Context.h>
#include <fwcommon/PolicyDocument.h>

#include "BenchPolicies.h"
#include "BenchRegistry.h"

namespace fwbench {
namespace {

std::vector<unsigned char> MergedTwice(const PolicySize& size) {
    fwcommon::Context context;
    for (const wchar_t* dataname : {L"first", L"second"})
        context.AppendXmlReader(dataname, PolicyBytes(size), fwcommon::User, AllEditable(), L"");
    std::vector<unsigned char> merged;
    context.GetRSOP(merged, 1700000000, 900);
    return merged;
}

void Digest(benchmark::State& state, const PolicySize& size) {
    const std::vector<unsigned char>& bytes = PolicyBytes(size);
    for (auto _ : state) {
        fwcommon::PolicyDocumentDigest digest(bytes);
        benchmark::DoNotOptimize(&digest);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void ValidateMerged(benchmark::State& state, const PolicySize& size) {
    const std::vector<unsigned char> merged = MergedTwice(size);
    const fwcommon::PolicyDocumentDigest digest(PolicyBytes(size));
    const std::vector<fwcommon::PolicyDocumentDigest> sources{digest, digest};
    for (auto _ : state)
        fwcommon::ValidateMergedPolicyDocument(sources, merged);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * merged.size()));
}

void ValidateMergedWhole(benchmark::State& state, const PolicySize& size) {
    const std::vector<unsigned char> merged = MergedTwice(size);
    for (auto _ : state)
        fwcommon::ValidatePolicyDocument(merged);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * merged.size()));
}

}  // namespace

void RegisterProofBenchmarks(const std::vector<PolicySize>& sizes) {
    for (const PolicySize& size : sizes) {
        const std::string label = "/" + size.label;
        benchmark::RegisterBenchmark(("Document.Digest" + label).c_str(), Digest, size)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Document.ValidateMerged" + label).c_str(), ValidateMerged,
                                     size)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Document.ValidateMergedWhole" + label).c_str(),
                                     ValidateMergedWhole, size)
            ->Unit(benchmark::kMillisecond);
    }
}

}  // namespace fwbench
