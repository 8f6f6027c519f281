#pragma once

#include <cstddef>
#include <vector>

namespace fwpolicy {

// The indexes, ascending, of a longest strictly increasing subsequence of
// values (the first such run the patience method finds).
std::vector<std::size_t> LongestIncreasingRun(const std::vector<std::size_t>& values);

}  // namespace fwpolicy
