#pragma once

#include <memory>

namespace fwpolicy {

// Memory a verb is done with, left for the end of the process to return.
// Freeing a loaded policy document of 20,000 rules element by element
// takes about a tenth of a second; the kernel takes its pages back at exit
// at no cost. The object handed over last is kept and never destroyed;
// handing over another destroys the one kept before (on the caller's
// thread), so that the process keeps at most one. Only for objects whose
// destruction does nothing but free memory. Any thread may call it.
void LeaveToProcessEnd(std::shared_ptr<void> object);

}  // namespace fwpolicy
