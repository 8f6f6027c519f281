#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// `fwpolicy query FILE... [--objects FILE] [--section S] [--from END]
// [--to END] [--in-interface NAME] [--out-interface NAME] [--service SVC]
// [--at TIME] [--all] [--explain] [--json]`: which rule of each section
// decides one flow, which earlier rules may match and on what that
// depends. Exit status 0 when a section passes the flow, 3 when none does
// and the answer of one depends on what the flow leaves open, 1 when
// every section drops it or has no rule for it, 2 on usage errors or a
// file that cannot be loaded. The verb's exit status is left in *status
// when it runs.
void AddQueryCommand(CLI::App& app, int* status);

}  // namespace fwpolicy
