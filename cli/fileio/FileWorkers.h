#pragma once

#include <cstddef>
#include <functional>
#include <ostream>

namespace fwpolicy {

// One job of a verb that treats its files independently: the job of the
// file at index writes its standard output and standard error to out and
// err (never to std::cout or std::cerr) and keeps its result where the
// caller can find it by index.
using FileJob = std::function<void(std::size_t index, std::ostream& out, std::ostream& err)>;

// The number of workers when the user gives none: one per processor.
unsigned DefaultWorkerCount();

// Runs job(0) .. job(count - 1) on up to `workers` threads and copies each
// job's output to out and err in index order, as soon as every job before
// it is done, so that what the user sees is what a run one after another
// prints. With one worker (or one job) the jobs run in the calling thread
// and write to out and err directly. An exception a job lets out is thrown
// here once every thread has stopped, after the output of the jobs before
// it and its own; the output of later jobs is dropped, as a run one after
// another would never have printed it. Called from one thread; jobs run concurrently and must not
// share mutable state.
void RunFileJobs(std::size_t count, unsigned workers, const FileJob& job, std::ostream& out,
                 std::ostream& err);

}  // namespace fwpolicy
