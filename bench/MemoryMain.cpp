// fwcommon_bench_memory: resident memory of a loaded and indexed policy.
//
//   fwcommon_bench_memory <label>...   (labels as for fwcommon_bench: 100k, addr200k)
//
// Per policy, in a process of its own (run it once per label for clean
// numbers), prints one line:
//   memory <label> bytes=<document bytes> resident=<after load> peak=<during load>
// resident and peak count what the load added to the process: the resident
// size after loading and indexing (the document bytes released, free heap
// handed back) and the high-water mark while loading (bytes included),
// both less the resident size before the bytes were read. A second line
// gives the same for a plain Xerces-C DOM parse of the bytes.

#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <fwcommon/XmlReaderFactory.h>

#include "BenchPolicies.h"
#include "PlainXerces.h"
#include "ProcessMemory.h"

namespace {

using fwbench::ReadResidentMemory;

// Loads the smallest policy first, so that the platform, the grammar and
// the library's process-wide state do not count against the policy.
void WarmUp() {
    const auto& small = fwbench::PolicyBytes(fwbench::PolicyFor("1k"));
    fwcommon::GetXmlReader(small, L"warm-up", fwcommon::User)->GetRules(fwcommon::eLocalRules);
}

void Print(const std::string& what, const std::string& label, std::size_t bytes, std::size_t base,
           const fwbench::ResidentMemory& after, std::size_t peak) {
    std::cout << what << ' ' << label << " bytes=" << bytes << " resident=" << after.current - base
              << " peak=" << peak - base << '\n';
}

void MeasureStore(const fwbench::PolicySize& size) {
    fwbench::ReleaseFreeHeap();
    const std::size_t base = ReadResidentMemory().current;
    if (!fwbench::ResetPeakResident()) {
        throw std::runtime_error("the kernel does not reset the peak resident size");
    }
    auto bytes = std::make_unique<std::vector<unsigned char>>();
    {
        const auto& cached = fwbench::PolicyBytes(size);
        *bytes = cached;
    }
    const std::size_t documentBytes = bytes->size();
    auto reader = fwcommon::GetXmlReader(*bytes, L"memory", fwcommon::User);
    reader->GetRules(fwcommon::eLocalRules);
    const std::size_t peak = ReadResidentMemory().peak;
    bytes.reset();
    fwbench::ReleaseFreeHeap();
    Print("memory", size.label, documentBytes, base, ReadResidentMemory(), peak);
}

void MeasureDom(const fwbench::PolicySize& size, fwbench::PlainXerces& xerces) {
    fwbench::ReleaseFreeHeap();
    const std::size_t base = ReadResidentMemory().current;
    fwbench::ResetPeakResident();
    std::vector<unsigned char> bytes = fwbench::PolicyBytes(size);
    fwbench::DomDocumentPtr document(xerces.Parse(bytes));
    const std::size_t peak = ReadResidentMemory().peak;
    const std::size_t documentBytes = bytes.size();
    std::vector<unsigned char>().swap(bytes);
    fwbench::ReleaseFreeHeap();
    Print("memory-dom", size.label, documentBytes, base, ReadResidentMemory(), peak);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: fwcommon_bench_memory <label>...\n";
        return 2;
    }
    try {
        for (int i = 1; i < argc; ++i) {
            const fwbench::PolicySize size = fwbench::PolicyFor(argv[i]);
            WarmUp();
            fwbench::PolicyBytes(size);  // the cached copy is not counted
            MeasureStore(size);
            fwbench::PlainXerces xerces;
            MeasureDom(size, xerces);
        }
    } catch (const std::exception& e) {
        std::cerr << "fwcommon_bench_memory: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
