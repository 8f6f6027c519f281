#pragma once

namespace fwpolicy {

// Exit statuses of every verb: done, failed (the message says why), or the
// command line was wrong.
enum ExitStatus { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

}  // namespace fwpolicy
