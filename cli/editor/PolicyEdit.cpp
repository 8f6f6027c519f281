#include "editor/PolicyEdit.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string_view>
#include <utility>

#include <fwcommon/PolicyDocument.h>
#include "ExitStatus.h"
#include "ProcessEnd.h"
#include "diff/PolicyDiff.h"
#include "editor/DocumentTouches.h"
#include "editor/RuleLocator.h"
#include "fileio/AtomicFile.h"
#include "fileio/EditLock.h"
#include "fileio/FileIo.h"
#include "fileio/MarkupScan.h"
#include "fileio/ReplaceChecks.h"
#include "policy/CreationTypeNames.h"
#include "policy/IdentifierRoom.h"
#include "policy/RuleIdentifiers.h"
#include "render/Diagnostics.h"
#include "render/EditReport.h"
#include "terminal/Progress.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

// Every rule section (1..5) and named-object kind (0..4) is editable; the
// two kinds of key share one key space.
fwcommon::Context::ModesMap AllEditable() {
    fwcommon::Context::ModesMap modes;
    for (int key = 0; key <= 5; ++key)
        modes[key] = fwcommon::Context::Modes::eEditable;
    return modes;
}

EditSession* activeSession = nullptr;

void Load(fwcommon::Context& context, const std::wstring& dataname,
          const std::vector<unsigned char>& bytes, fwcommon::CreationType creationType) {
    context.AppendXmlReader(dataname, bytes, creationType, AllEditable(), dataname);
}

fwcommon::CreationType NewItemsType(const EditTarget& target) {
    return target.creationType.value_or(fwcommon::User);
}

// The script's document so far, written, loaded again under another
// creation type; the touches waiting go into the bytes first, as they
// would into the file.
void LoadSessionAs(EditSession& session, fwcommon::CreationType creationType) {
    const std::vector<unsigned char> bytes = EditedBytesOf(*session.context, session.dataname);
    auto context = std::make_unique<fwcommon::Context>(session.dataname);
    Load(*context, session.dataname, bytes, creationType);
    session.context = std::move(context);
    session.loadedAs = creationType;
}

void EditInSession(const EditTarget& target, const SourceEditFunction& edit) {
    if (target.dryRun || target.dropComments)
        throw EditError("--dry-run and --drop-comments are options of apply, not of a line");
    // A line that adds nothing of a creation type of its own works on the
    // document as it is loaded.
    if (target.creationType && *target.creationType != activeSession->loadedAs)
        LoadSessionAs(*activeSession, *target.creationType);
    try {
        edit(*activeSession->context, activeSession->dataname, activeSession->source);
    } catch (const NothingToChange&) {
        // A line that changes nothing is no fault of the script: the next
        // line goes on from the same document.
    }
}

// Loads, edits and writes; throws what loading, editing or
// writing throws.
EditedBytes EditedDocument(const std::vector<unsigned char>& bytes, const std::wstring& dataname,
                           const EditTarget& target, const SourceEditFunction& edit) {
    ClearDocumentTouches();
    const terminal::ProgressStage stage("editing " + ToUtf8(dataname));
    const auto context = std::make_shared<fwcommon::Context>(dataname);
    EditedBytes result;
    try {
        Load(*context, dataname, bytes, NewItemsType(target));
        NoteLoaded(bytes, *context, dataname, result, !target.reportsRenumbering);
        edit(*context, dataname, bytes);
    } catch (const std::out_of_range& e) {
        throw IdentifierShortage(bytes, e);
    }
    result.edited = EditedBytesOf(*context, dataname);
    LeaveToProcessEnd(context);
    return result;
}

void ReportFailure(const std::string& file, const std::string& message) {
    PrintFileError(std::cerr, file, message);
}

// A --wait value: "" when it is a number of seconds, else why not.
std::string SecondsText(const std::string& text) {
    std::size_t used = 0;
    double seconds = -1;
    try {
        seconds = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || !std::isfinite(seconds) || seconds < 0)
        return "'" + text + "' is not a number of seconds (0 or more)";
    return "";
}

bool ReplacesFile(const EditTarget& target) {
    return !target.dryRun && target.file != kStandardStream;
}

std::chrono::milliseconds LockWait(const EditTarget& target) {
    constexpr double kMillisecondsPerSecond = 1000;
    constexpr double kLongestWaitSeconds = 1e9;  // about 30 years: for ever
    return std::chrono::milliseconds(static_cast<long long>(
        std::min(target.waitSeconds, kLongestWaitSeconds) * kMillisecondsPerSecond));
}

// LeftAsItWas for an edit that knew it changes nothing; the exit status.
int LeftAlone(const EditTarget& target, const std::string& reason) {
    try {
        LeftAsItWas(target, reason);
        return kExitOk;
    } catch (const std::exception& e) {
        ReportFailure(target.file, e.what());
        return kExitFailure;
    }
}

// Loads, edits and replaces the file (or prints the result); the exit
// status, every failure reported on stderr. An edit that changes nothing
// forgets its report line.
int EditFile(const EditTarget& target, const SourceEditFunction& edit) {
    try {
        std::optional<EditLock> lock;
        LockForReplacing(target, lock);
        const std::vector<unsigned char> bytes = ReadFile(target.file);
        const EditedBytes document = EditedDocument(bytes, FromUtf8(target.file), target, edit);
        const std::vector<unsigned char>& result = document.edited;
        ProveReadable(bytes, result);
        if (SameAsFile(document, bytes)) {
            LeftAsItWas(target);
            if (target.dryRun)
                PrintDryRun(target, bytes, document);
            return kExitOk;
        }
        // Comments stand in the way of writing only: an edit that fails,
        // or changes nothing, says so first.
        if (!MayEdit(target, bytes))
            return kExitFailure;
        ExpectReplaceable(target.file, lock, bytes, target.force,
                          "the file changed while it was being edited; nothing was written");
        if (target.dryRun) {
            PrintDryRun(target, bytes, document);
        } else {
            Deliver(target.file, result, false);
            WarnCommentsDropped(target.file, bytes, target.dropComments);
            PrintRenumbered(target.file, document);
        }
        return kExitOk;
    } catch (const NothingToChange& e) {
        return LeftAlone(target, e.Reason());
    } catch (const xml_schema::exception& e) {
        PrintDocumentErrors(std::cerr, target.file, e);
    } catch (const EditError& e) {
        ReportFailure(target.file, e.what());
        PrintDetailLines(std::cerr, e.Details());
    } catch (const std::exception& e) {
        ReportFailure(target.file, e.what());
    }
    return kExitFailure;
}

}  // namespace

void LockForReplacing(const EditTarget& target, std::optional<EditLock>& lock) {
    if (!ReplacesFile(target))
        return;
    lock.emplace(target.file, LockWait(target));
    CheckReplaceableKind(lock->Status());
}

void ExpectReplaceable(const std::string& file, const std::optional<EditLock>& lock,
                       const std::vector<unsigned char>& bytes, bool force,
                       const std::string& changed) {
    if (!lock)
        return;
    CheckMayReplace(file, lock->Status(), force);
    lock->ExpectUnchanged();
    if (!FileHolds(file, bytes))
        throw EditError(changed);
}

void AddEditTarget(CLI::App& verb, EditTarget& target) {
    verb.add_option("FILE", target.file, "Policy file to change")->required();
    AddDryRunFlag(verb, target);
    verb.add_flag("--drop-comments", target.dropComments,
                  "Rewrite the file even though its XML comments and processing instructions "
                  "will be lost");
    AddReplaceOptions(verb, target);
    AddQuietFlag(verb);
}

void AddDryRunFlag(CLI::App& verb, EditTarget& target) {
    static const std::string kDifferences = "diff";
    static const std::string kDocument = "full";
    verb.add_flag("--dry-run{" + kDifferences + "}", target.dryRunMode,
                  "Print what diff would report between the file and the result instead of "
                  "writing the file; --dry-run=full prints the resulting document")
        ->check(CLI::IsMember({kDifferences, kDocument}))
        ->each([&target](const std::string& mode) {
            target.dryRun = true;
            target.dryRunDocument = mode == kDocument;
        });
}

void PrintDryRun(const EditTarget& target, const std::vector<unsigned char>& before,
                 const EditedBytes& document) {
    if (target.dryRunDocument) {
        Deliver(target.file, document.edited, true);
        return;
    }
    RuleRenumbering renumbering;
    for (const IdentifierChange& change : document.identifierChanges)
        renumbering.emplace(change.index, change.to);
    std::cout << DifferencesText(*fwcommon::ParsePolicyDocument(before),
                                 *fwcommon::ParsePolicyDocument(document.edited), renumbering);
}

void AddCreationTypeOption(CLI::App& verb, EditTarget& target, const std::string& help) {
    verb.add_option_function<std::string>(
            "--creation-type",
            [&target](const std::string& name) {
                const auto& names = CreationTypeNames();
                const auto found = std::find(names.begin(), names.end(), name);
                target.creationType = static_cast<fwcommon::CreationType>(found - names.begin());
            },
            help)
        ->check(CLI::IsMember(CreationTypeNames()));
}

void AddReplaceOptions(CLI::App& verb, EditTarget& target, const std::string& forceHelp) {
    static const std::string kReplace =
        "Replace the file even when it is read-only or has several hard links";
    verb.add_flag("--force", target.force, forceHelp.empty() ? kReplace : forceHelp);
    verb.add_option("--wait", target.waitSeconds,
                    "Seconds to wait while another edit of the file holds its lock")
        ->check(SecondsText)
        ->capture_default_str();
}

namespace {

std::string FirstFault(const xml_schema::exception& error) {
    if (const auto* parsing = dynamic_cast<const xml_schema::parsing*>(&error)) {
        if (!parsing->diagnostics().empty())
            return ToUtf8(parsing->diagnostics().front().message());
    }
    std::wostringstream text;
    text << error;
    return ToUtf8(text.str());
}

}  // namespace

void ProveReadable(const std::vector<unsigned char>& bytes,
                   const std::vector<unsigned char>& result) {
    try {
        fwcommon::ValidateEditedPolicyDocument(bytes, result);
    } catch (const xml_schema::exception& e) {
        throw EditError("the result would not read back as a policy document (" + FirstFault(e) +
                        ")");
    }
}

bool MayRewrite(const std::string& file, const std::vector<unsigned char>& bytes,
                bool dropComments) {
    if (dropComments || !HoldsCommentsOrInstructions(bytes))
        return true;
    ReportFailure(file,
                  "holds XML comments or processing instructions, which rewriting would drop; "
                  "give --drop-comments to rewrite it anyway");
    return false;
}

bool MayEdit(const EditTarget& target, const std::vector<unsigned char>& bytes) {
    if (target.dryRun && !target.dropComments && HoldsCommentsOrInstructions(bytes)) {
        ReportFailure(target.file,
                      "warning: holds XML comments or processing instructions; the edit itself "
                      "will drop them and needs --drop-comments");
        return true;
    }
    return MayRewrite(target.file, bytes, target.dropComments);
}

void LeftAsItWas(const EditTarget& target, const std::string& reason) {
    ReportFailure(target.file, (reason.empty() ? "" : reason + "; ") +
                                   "nothing to change; the file is left as it was");
    ForgetEdits();
    if (target.file == kStandardStream && !target.dryRun)
        WriteStandardOutput(ReadFile(target.file));
}

void WarnCommentsDropped(const std::string& file, const std::vector<unsigned char>& bytes,
                         bool dropComments) {
    // Without dropComments, MayRewrite has found none: no need to look again.
    if (dropComments && HoldsCommentsOrInstructions(bytes))
        ReportFailure(file, "warning: XML comments and processing instructions are dropped");
}

void Deliver(const std::string& file, const std::vector<unsigned char>& bytes, bool dryRun) {
    if (dryRun)
        WriteStandardOutput(bytes);
    else
        ReplaceInPlace(file, bytes);
}

void SetEditSession(EditSession* session) {
    activeSession = session;
}

void LoadForEditing(fwcommon::Context& context, const std::wstring& dataname,
                    const std::vector<unsigned char>& bytes) {
    Load(context, dataname, bytes, fwcommon::User);
}

std::vector<unsigned char> EditedBytesOf(fwcommon::Context& context, const std::wstring& dataname) {
    std::vector<unsigned char> written;
    context.GetXmlData(dataname, written);
    return ApplyDocumentTouches(std::move(written));
}

BytesDigest BytesDigest::Of(const std::vector<unsigned char>& bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return BytesDigest{bytes.size(), std::hash<std::string_view>()(text)};
}

// Equal documents are written as equal bytes, so an edit that left the
// loaded document as it was changes nothing, unless loading itself changed
// it (identifiers outside their creation type's range are renumbered):
// only then are the file and the result parsed and compared.
bool SameAsFile(const EditedBytes& document, const std::vector<unsigned char>& bytes) {
    if (document.edited == bytes) {
        return true;
    }
    // Unequal digests prove the edit changed the loaded document. Equal
    // ones (almost always equal bytes) leave the answer to the comparison
    // below, which is exact either way.
    if (BytesDigest::Of(document.edited) != document.loaded) {
        return false;
    }
    return *fwcommon::ParsePolicyDocument(document.edited) == *fwcommon::ParsePolicyDocument(bytes);
}

void NoteLoaded(const std::vector<unsigned char>& bytes, fwcommon::Context& context,
                const std::wstring& dataname, EditedBytes& document, bool notesRenumbering) {
    std::vector<unsigned char> loaded;
    context.GetXmlData(dataname, loaded);
    document.loaded = BytesDigest::Of(loaded);
    if (notesRenumbering)
        RenumberedOnLoad(bytes, loaded, document);
}

void RenumberedOnLoad(const std::vector<unsigned char>& bytes,
                      const std::vector<unsigned char>& loaded, EditedBytes& document) {
    ForgetSharedFileIds();
    if (!LoadMayHaveRenumbered(loaded, bytes))
        return;
    const auto file = fwcommon::ParsePolicyDocument(bytes);
    RememberSharedFileIds(*file);
    const std::vector<FileRule> rules = RulesOf(*file);
    document.identifierChanges = IdentifierChangesOnLoad(rules, loaded);
    const std::vector<std::string> reasons = WhyRenumberedInFile(rules, document.identifierChanges);
    for (std::size_t i = 0; i < reasons.size(); ++i) {
        const IdentifierChange& change = document.identifierChanges[i];
        const FileRule& rule = rules[change.index];
        document.renumbered.push_back("note: " + (rule.section.empty() ? "" : rule.section + " ") +
                                      "rule " + std::to_string(rule.id) + " " +
                                      QuotedName(rule.name) + " is now " +
                                      std::to_string(change.to) + " (" + reasons[i] + ")");
    }
}

bool LoadMayHaveRenumbered(const std::vector<unsigned char>& loaded,
                           const std::vector<unsigned char>& bytes) {
    return loaded != bytes && RuleIdValues(loaded) != RuleIdValues(bytes);
}

void PrintRenumbered(const std::string& file, const EditedBytes& document) {
    for (const std::string& note : document.renumbered)
        PrintFileError(std::cerr, file, note);
}

int ReadThroughContext(const std::string& file, const EditFunction& read) {
    try {
        const std::wstring dataname = FromUtf8(file);
        const auto context = std::make_shared<fwcommon::Context>(dataname);
        const std::vector<unsigned char> bytes = ReadFile(file);
        try {
            {
                const terminal::ProgressStage stage("loading " + file);
                Load(*context, dataname, bytes, fwcommon::User);
            }
            read(*context, dataname);
        } catch (const std::out_of_range& e) {
            throw IdentifierShortage(bytes, e);
        }
        LeaveToProcessEnd(context);
        return kExitOk;
    } catch (const xml_schema::exception& e) {
        PrintDocumentErrors(std::cerr, file, e);
    } catch (const std::exception& e) {
        ReportFailure(file, e.what());
    }
    return kExitFailure;
}

int RunEdit(const EditTarget& target, const EditFunction& edit) {
    return RunEditWithSource(
        target, [&edit](fwcommon::Context& context, const std::wstring& dataname,
                        const std::vector<unsigned char>&) { edit(context, dataname); });
}

int RunEditWithSource(const EditTarget& target, const SourceEditFunction& edit) {
    if (activeSession) {
        EditInSession(target, edit);
        return kExitOk;
    }
    const int status = EditFile(target, edit);
    if (status == kExitOk && ReplacesFile(target))
        ReportEdits();
    ForgetEdits();
    return status;
}

}  // namespace fwpolicy
