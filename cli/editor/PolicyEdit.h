#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <CLI/App.hpp>

#include <fwcommon/Context.h>

#include "fileio/EditLock.h"
#include "policy/RuleIdentifiers.h"

namespace fwpolicy {

// How long an edit waits for another edit of the same file by default.
constexpr double kDefaultLockWaitSeconds = 5;

// The file an editing verb changes and how the result is delivered.
struct EditTarget {
    std::string file;
    bool dryRun = false;          // print instead of writing the file
    bool dryRunDocument = false;  // --dry-run=full: print the document, not the differences
    std::string dryRunMode;       // as given: "diff" or "full"
    bool dropComments = false;    // rewrite even when comments would be lost
    bool force = false;           // replace a read-only file or one of several hard links
    double waitSeconds = kDefaultLockWaitSeconds;  // for another edit's lock
    // The creation type of the rules and objects the edit adds (--creation-type);
    // none given: User.
    std::optional<fwcommon::CreationType> creationType;
    // Notes on the rules the load renumbered (RenumberedOnLoad) are left
    // out: the verb reports them itself.
    bool reportsRenumbering = false;
};

// Adds the FILE argument, the --dry-run, --drop-comments and --force flags
// and the --wait option.
void AddEditTarget(CLI::App& verb, EditTarget& target);
// Adds --dry-run (print what diff reports between the file and the
// result) and --dry-run=full (print the resulting document).
void AddDryRunFlag(CLI::App& verb, EditTarget& target);
// Adds --creation-type (generated, policy, user or post) for the verb's
// new item, with that help text.
void AddCreationTypeOption(CLI::App& verb, EditTarget& target, const std::string& help);
// Adds only the --force flag and the --wait option, for a verb that
// describes its other arguments itself; forceHelp, when given, is the help
// of a --force that allows more than replacing such a file.
void AddReplaceOptions(CLI::App& verb, EditTarget& target, const std::string& forceHelp = "");

// Takes the lock of the file the edit replaces, waiting up to --wait
// seconds, and refuses a file that CheckReplaceableKind refuses; takes none
// for a dry run or standard input. The caller keeps the lock until the file
// is replaced, and checks CheckMayReplace once there is something to write.
void LockForReplacing(const EditTarget& target, std::optional<EditLock>& lock);

// Just before the file is replaced under lock (nothing to check without
// one): refuses what CheckMayReplace refuses unless force, and a file that
// another program changed since it held bytes, with EditError(changed).
void ExpectReplaceable(const std::string& file, const std::optional<EditLock>& lock,
                       const std::vector<unsigned char>& bytes, bool force,
                       const std::string& changed);

// Thrown by an edit that cannot be done; the message is shown as
// "fwpolicy: FILE: message" and the file is left as it was.
class EditError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    // A refusal followed by the items it is about, one line each
    // (PrintDetailLines).
    EditError(const std::string& message, std::vector<std::string> details)
        : std::runtime_error(message), details_(std::move(details)) {}
    const std::vector<std::string>& Details() const noexcept { return details_; }

private:
    std::vector<std::string> details_;
};

// Thrown by an edit that knows the document stays as the file holds it:
// the file is left alone, as for any edit that changes nothing, without
// comparing the documents. The reason, when given, says why ("local rule 7
// "web" is already disabled").
class NothingToChange : public std::exception {
public:
    NothingToChange() = default;
    explicit NothingToChange(std::string reason) : reason_(std::move(reason)) {}
    const char* what() const noexcept override { return "nothing to change"; }
    const std::string& Reason() const { return reason_; }

private:
    std::string reason_;
};

// One change applied to the document registered under dataname.
using EditFunction = std::function<void(fwcommon::Context& context, const std::wstring& dataname)>;

// An edit that also reads the file's bytes as they were loaded.
using SourceEditFunction =
    std::function<void(fwcommon::Context& context, const std::wstring& dataname,
                       const std::vector<unsigned char>& source)>;

// The document a script of edits changes (fwpolicy apply). While one is
// set, RunEdit and RunEditWithSource neither load nor write the file: they
// apply the edit to this Context and let its failures propagate to the
// script. A Context gives the rules and objects it adds the creation type
// it loaded the document with, so a line that adds items of another type
// first has the document so far written and loaded again, in memory,
// under that type: context then holds a new Context. Main thread only; the
// session outlives its use.
struct EditSession {
    std::unique_ptr<fwcommon::Context> context;
    std::wstring dataname;
    const std::vector<unsigned char>& source;  // the file's bytes, as read
    fwcommon::CreationType loadedAs = fwcommon::User;
};
void SetEditSession(EditSession* session);

// Takes the file's EditLock (waiting up to --wait seconds) and refuses a
// file that CheckReplaceableKind refuses, loads the file into a fresh
// Context (every section and named-object kind editable, new rules and
// objects of the target's creation type), runs the edit, commits it, checks
// that the result is a valid policy document, that the file may be replaced
// (CheckMayReplace, after the edit's own faults and "nothing to change") and
// that it is still the one loaded, and replaces the file atomically before
// it lets go of the lock. With
// --dry-run or "-" (standard input) the result is printed instead and no
// lock is taken. An edit whose result holds the
// same document as the file writes nothing and says so on stderr.
// Returns the exit status; every failure is reported on stderr and leaves
// the file untouched.
int RunEdit(const EditTarget& target, const EditFunction& edit);
// RunEdit for an edit that needs the loaded bytes as well.
int RunEditWithSource(const EditTarget& target, const SourceEditFunction& edit);

// Loads bytes into a context for editing as RunEdit does (new items of
// creation type User).
void LoadForEditing(fwcommon::Context& context, const std::wstring& dataname,
                    const std::vector<unsigned char>& bytes);

// The document as the Context writes it now, its edits included, with the
// document touches waiting applied. Throws what writing throws. The edits
// are not committed: the file is what the tool keeps, nothing reads the
// Context after it is written, and a commit would only hand every rule
// handle back and free the copy kept for rollback.
std::vector<unsigned char> EditedBytesOf(fwcommon::Context& context, const std::wstring& dataname);

// The size and a hash of bytes: enough to tell that two documents differ
// without keeping a second copy of a large one.
struct BytesDigest {
    std::size_t size = 0;
    std::size_t hash = 0;

    static BytesDigest Of(const std::vector<unsigned char>& bytes);
    bool operator==(const BytesDigest& other) const {
        return size == other.size && hash == other.hash;
    }
    bool operator!=(const BytesDigest& other) const { return !(*this == other); }
};

// A document as the library wrote it right after loading it (its digest)
// and after the edits (their document touches applied).
struct EditedBytes {
    BytesDigest loaded;
    std::vector<unsigned char> edited;
    // The rules the load gave a new identifier (RenumberedOnLoad): a note
    // on each, and which rule of the file now holds which RuleId.
    std::vector<std::string> renumbered;
    std::vector<IdentifierChange> identifierChanges;
};

// Records what the context writes of the document it has just loaded from
// bytes (document.loaded) and, when renumbering is to be noted, fills the
// notes as RenumberedOnLoad does.
void NoteLoaded(const std::vector<unsigned char>& bytes, fwcommon::Context& context,
                const std::wstring& dataname, EditedBytes& document, bool notesRenumbering);

// Fills the document's renumbered notes, one a rule, and identifier
// changes with the rules whose identifiers the library changed when it
// loaded bytes into the context: "vpn rule 300001 "Staff" is now 300002
// (another rule of the file holds 300001)". Parses bytes only when loaded,
// the document as the library wrote it after the load, holds other RuleId
// values than they do; then also remembers the identifiers the file gives
// several rules (RememberSharedFileIds).
void RenumberedOnLoad(const std::vector<unsigned char>& bytes,
                      const std::vector<unsigned char>& loaded, EditedBytes& document);

// True when loaded, a document as the library wrote it right after loading
// bytes, may give rules other identifiers than bytes do: the two lists of
// RuleId values differ. Only then is the file worth parsing to tell which.
bool LoadMayHaveRenumbered(const std::vector<unsigned char>& loaded,
                           const std::vector<unsigned char>& bytes);

// Prints each of the document's renumbered notes for file on stderr.
void PrintRenumbered(const std::string& file, const EditedBytes& document);
// True when the edited document holds the same document as the file's
// bytes; parses both only when the bytes alone cannot tell. Throws what
// parsing throws.
bool SameAsFile(const EditedBytes& document, const std::vector<unsigned char>& bytes);

// Loads the file into a fresh Context as RunEdit does and runs a function
// that only reads; nothing is written. Returns the exit status; failures
// are reported on stderr.
int ReadThroughContext(const std::string& file, const EditFunction& read);

// Never write what we could not read back: proves result, the bytes about
// to be written, against bytes, the file they were made from (which a load
// has just read). Throws EditError naming the first fault when result would
// not read back as a policy document.
void ProveReadable(const std::vector<unsigned char>& bytes,
                   const std::vector<unsigned char>& result);

// When the document holds comments or processing instructions, says so on
// stderr and returns false unless dropComments is set.
bool MayRewrite(const std::string& file, const std::vector<unsigned char>& bytes,
                bool dropComments);
// MayRewrite for an edit of target: a dry run writes nothing, so comments
// only earn a warning that the edit itself will need --drop-comments.
bool MayEdit(const EditTarget& target, const std::vector<unsigned char>& bytes);

// Says on stderr that the edit changes nothing (with the reason, when
// given) and forgets its report lines. Standard output stands in for a
// file given as "-", so without a dry run the document passes through
// unchanged: the next step of a pipeline still gets it. Throws
// std::runtime_error when standard output cannot be written.
void LeftAsItWas(const EditTarget& target, const std::string& reason = std::string());

// Once the file is replaced, after MayRewrite allowed it with the same
// dropComments: warns on stderr when the bytes it held had comments or
// processing instructions, which are now gone.
void WarnCommentsDropped(const std::string& file, const std::vector<unsigned char>& bytes,
                         bool dropComments);

// What a dry run prints: the differences between the file's bytes and the
// edited document, a rule the load renumbered paired with its new
// identifier, or with --dry-run=full the edited document.
void PrintDryRun(const EditTarget& target, const std::vector<unsigned char>& before,
                 const EditedBytes& document);

// Writes an edited document to its destination: stdout for a dry run, or
// the file, replaced atomically. Throws std::runtime_error when writing
// fails.
void Deliver(const std::string& file, const std::vector<unsigned char>& bytes, bool dryRun);

}  // namespace fwpolicy
