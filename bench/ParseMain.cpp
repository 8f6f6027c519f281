// fwcommon_bench_parse: the whole-process yardstick of the command-line
// tool. A process that does nothing but start Xerces-C, read the rules
// schema, and parse and validate each file into a DOM, as `fwpolicy check`
// must at the least.
//
//   fwcommon_bench_parse FILE...
//
// Prints nothing on success; exits 1 with the first error of a file.

#include <iostream>
#include <stdexcept>

#include "BenchPolicies.h"
#include "PlainXerces.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: fwcommon_bench_parse FILE...\n";
        return 2;
    }
    try {
        fwbench::PlainXerces xerces;
        for (int i = 1; i < argc; ++i) {
            const fwbench::DomDocumentPtr document(xerces.Parse(fwbench::ReadFileBytes(argv[i])));
        }
    } catch (const std::exception& e) {
        std::cerr << "fwcommon_bench_parse: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
