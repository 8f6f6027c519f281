#include "IncreasingRun.h"

#include <algorithm>

namespace fwpolicy {

std::vector<std::size_t> LongestIncreasingRun(const std::vector<std::size_t>& values) {
    const std::size_t none = values.size();
    std::vector<std::size_t> tails;  // per run length, the index of its smallest last value
    std::vector<std::size_t> previous(values.size(), none);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto place = std::lower_bound(
            tails.begin(), tails.end(), values[i],
            [&values](std::size_t index, std::size_t value) { return values[index] < value; });
        if (place != tails.begin())
            previous[i] = *(place - 1);
        if (place == tails.end())
            tails.push_back(i);
        else
            *place = i;
    }
    std::vector<std::size_t> run;
    for (std::size_t i = tails.empty() ? none : tails.back(); i != none; i = previous[i])
        run.push_back(i);
    std::reverse(run.begin(), run.end());
    return run;
}

}  // namespace fwpolicy
