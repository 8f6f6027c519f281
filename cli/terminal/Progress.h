#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace fwpolicy::terminal {

// Feedback on long work: while a stage of work ("loading big.xml") has run
// longer than a second, standard error shows it on one line that is
// rewritten as the work goes on and cleared when it ends. Shown only when
// standard error is a terminal and progress was not switched off (-q).
//
// The second counts from the first use of the progress line, at the start
// of the process. Stages nest; the innermost one still running is shown. Any thread may
// open a stage; the line is drawn by a thread of its own, started at the
// first stage. FinishProgress stops it; call it before the process exits.
class ProgressStage {
public:
    explicit ProgressStage(std::string what);
    ~ProgressStage();
    ProgressStage(const ProgressStage&) = delete;
    ProgressStage& operator=(const ProgressStage&) = delete;

private:
    unsigned long id_;
};

// -q, or a pager owning the terminal: no progress line from now on.
void SetProgressShown(bool shown);

// Standard output that goes to the same terminal: `write` runs with the
// progress line cleared, and the line is not drawn again until a line of
// output has ended. The tool's standard-output buffer calls it.
void WriteBesideProgress(const char* data, std::size_t size, const std::function<void()>& write);

void FinishProgress();

}  // namespace fwpolicy::terminal
