#pragma once

#include <functional>

namespace fwpolicy::terminal {

// Output for people goes through a pager when standard output is a
// terminal, as git does: FWPOLICY_PAGER, else PAGER, else less (with LESS
// set to "FRX" when unset, so that one screen of output needs no key and
// colour passes). An empty value or "cat" means no pager.
//
// PageStandardOutput is called once, before anything is written to
// std::cout. At the first byte written, `wanted` decides whether this
// command's output is paged (the verb is known by then). FinishPager
// flushes std::cout, ends the pipe and waits for the pager; call it before
// the process exits. Main thread only.
void PageStandardOutput(std::function<bool()> wanted);
void FinishPager();

}  // namespace fwpolicy::terminal
