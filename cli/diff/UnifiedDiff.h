#pragma once

#include <string>
#include <vector>

namespace fwpolicy {

// The lines of after compared with those of before as `diff -u` prints
// them: "--- beforeName", "+++ afterName", then hunks "@@ -l,n +l,n @@"
// with three lines of context, each line ending in a line feed. Lines
// that occur once on each side anchor the comparison (patience diff), so
// that the result stays readable and quick on long documents. Empty when
// the lines are equal.
std::string UnifiedDiff(const std::vector<std::string>& before,
                        const std::vector<std::string>& after, const std::string& beforeName,
                        const std::string& afterName);

}  // namespace fwpolicy
