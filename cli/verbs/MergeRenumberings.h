#pragma once

#include <string>
#include <vector>

#include <fwcommon/Context.h>
#include <fwcommon/MemoryLogSink.h>
#include <fwcommon/rules.hxx>
#include "policy/RuleIdentifiers.h"

namespace fwpolicy {

// A named object or rule that a merge gave a new identifier.
struct Renumbering {
    std::wstring dataname;  // the input file it comes from, as registered
    std::string what;       // "ip object", "transit rule"
    std::wstring name;
    long long from = 0;
    long long to = 0;
    std::string why;  // "an earlier file holds 300001"
};

// One input file's rules and named objects with the identifiers the file
// gives them, taken before the library sees the file.
struct MergeSource {
    struct Object {
        long long id = 0;
        std::wstring name;
        std::string kind;  // "ip", "interface", ...
    };
    std::wstring dataname;
    std::vector<FileRule> rules;  // in document order
    std::vector<Object> objects;
    // The rules the context gave another identifier when it loaded the file.
    std::vector<IdentifierChange> changesOnLoad;
};

MergeSource SourceOf(const std::wstring& dataname, const Sarvo::PolicyType& document);

// Notes in source.changesOnLoad what the context's load of the file
// registered under source.dataname changed, from the file's index, or,
// when a section holds two rules of one order id, from a copy of the file
// the library writes. Call it for each file once it is registered, in the
// order of registration (the call builds the file's index, and an index
// corrects what the earlier files' indexes hold), and before the merge.
void NoteChangesOnLoad(MergeSource& source, fwcommon::Context& context);

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

// Every rule and object of the sources (registered in that order, each
// with its changes on load noted) that the merge whose log lines these are
// gave a new identifier:
// rules the context corrected when it indexed their file (their identifier
// was held by an earlier rule of that creation type, or lay outside its
// range) and the renumberings the merge itself logged (rules of no
// section, which no index corrects).
std::vector<Renumbering> RenumberingsOf(const std::vector<std::wstring>& lines,
                                        const std::vector<MergeSource>& sources);

}  // namespace fwpolicy
