#pragma once

#include <string>
#include <vector>

#include <fwcommon/Context.h>

namespace fwbench {

// A generated benchmark policy: its label ("1k", "10k", "20k", "100k", "addr200k")
// and the file that the build wrote for it.
struct PolicySize {
    std::string label;
    std::string path;
};

// The policy of a label, in the directory the build generates them into
// (FWCOMMON_BENCH_POLICY_DIR, overridable by the environment variable of
// the same name). Throws std::invalid_argument for an unknown label.
PolicySize PolicyFor(const std::string& label);

// Splits "1k,10k" into the policies of those labels.
std::vector<PolicySize> PoliciesFor(const std::string& labels);

// The bytes of a policy file, read once per path and kept for the life of
// the process. Throws std::runtime_error naming the file when it cannot be
// read. One thread at a time.
const std::vector<unsigned char>& PolicyBytes(const PolicySize& size);

// The bytes of a file. Throws std::runtime_error naming the file when it
// cannot be read.
std::vector<unsigned char> ReadFileBytes(const std::string& path);

// The bytes of the rules schema the benchmarks validate against.
std::vector<unsigned char> SchemaBytes();

// Editing modes that make every rule section and named-object kind
// editable, for benchmarks that edit what they load.
fwcommon::Context::ModesMap AllEditable();

}  // namespace fwbench
