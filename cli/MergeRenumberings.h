#pragma once

#include <string>
#include <vector>

#include <fwcommon/MemoryLogSink.h>
#include <fwcommon/rules.hxx>

namespace fwpolicy {

// A named object or rule that a merge gave a new identifier, because an
// earlier file's item held its own.
struct Renumbering {
    std::wstring dataname;  // the input file it comes from, as registered
    std::string what;       // "ip object", "transit rule"
    std::wstring name;
    long long from = 0;
    long long to = 0;
};

// Keeps the library's routine log lines while it lives, in place of the
// sink attached before, which it attaches again when it goes. Same thread
// as the merge.
class MergeLogCapture {
public:
    MergeLogCapture();
    ~MergeLogCapture();
    MergeLogCapture(const MergeLogCapture&) = delete;
    MergeLogCapture& operator=(const MergeLogCapture&) = delete;

    std::vector<std::wstring> Lines() const { return sink_.Lines(); }

private:
    fwcommon::MemoryLogSink sink_;
    ilogdispfacade::ILogDispSink* previous_;
};

// The renumberings that the log lines of one merge report, in their order,
// each with the kind (objects) or section (rules) it has in the merged
// document.
std::vector<Renumbering> RenumberingsOf(const std::vector<std::wstring>& lines,
                                        const Sarvo::PolicyType& merged);

}  // namespace fwpolicy
