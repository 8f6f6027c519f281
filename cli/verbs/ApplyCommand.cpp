#include "verbs/ApplyCommand.h"

#include <iostream>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <fwcommon/Context.h>
#include <fwcommon/PolicyDocument.h>
#include "CommandLine.h"
#include "ExitStatus.h"
#include "ProcessEnd.h"
#include "diff/PolicyDiff.h"
#include "editor/DocumentTouches.h"
#include "editor/PolicyEdit.h"
#include "fileio/FileIo.h"
#include "fileio/Utf8Check.h"
#include "policy/IdentifierRoom.h"
#include "render/Diagnostics.h"
#include "render/EditReport.h"
#include "terminal/SafeText.h"
#include "text/Utf8.h"
#include "verbs/ObjectCommand.h"
#include "verbs/OptionCommand.h"
#include "verbs/RuleCommand.h"
#include "verbs/ScriptWords.h"

namespace fwpolicy {
namespace {

struct ApplyArguments {
    EditTarget target;
    std::string script = "-";
};

// A line's failure, reported with its number.
class LineError : public EditError {
public:
    LineError(std::size_t number, const std::string& message, std::vector<std::string> details = {})
        : EditError("line " + std::to_string(number) + ": " + message, std::move(details)) {}
};

const std::set<std::string>& EditVerbs() {
    static const std::set<std::string> verbs = {"rule add",      "rule set",     "rule remove",
                                                "rule enable",   "rule disable", "rule move",
                                                "object add",    "object set",   "object rename",
                                                "object remove", "option set",   "option unset"};
    return verbs;
}

std::vector<std::string> ReadScript(const std::string& path) {
    std::string text;
    try {
        text = ReadTextFile(path);
    } catch (const std::runtime_error& e) {
        throw EditError("script " + path + ": " + e.what());
    }
    std::istringstream in(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Runs one line's edit verb on the session's document.
void ApplyLine(const std::string& file, const std::vector<std::string>& words) {
    const std::string verb = words.size() >= 2 ? words[0] + " " + words[1] : words[0];
    if (!EditVerbs().count(verb))
        throw EditError("'" + verb + "' is not an edit verb (rule add|set|remove|enable|disable|" +
                        "move, object add|set|rename|remove, option set|unset)");
    CLI::App app{"", "fwpolicy"};
    app.require_subcommand(1);
    int status = kExitOk;
    AddRuleCommand(app, &status);
    AddObjectCommand(app, &status);
    AddOptionCommand(app, &status);
    std::vector<std::string> args = {words[0], words[1], file};
    args.insert(args.end(), words.begin() + 2, words.end());
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ExtrasError&) {
        throw EditError(UnexpectedArgumentsInWords(DeepestVerb(app), app.remaining(true)));
    } catch (const CLI::ParseError& e) {
        throw EditError(InToolWords(e.what()));
    }
    if (status != kExitOk)
        throw EditError("the edit failed");
}

void ApplyScript(const std::string& file, const std::vector<unsigned char>& bytes,
                 const std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        try {
            if (!IsValidUtf8(lines[i]))
                throw EditError("the line is not valid UTF-8");
            const std::vector<std::string> words = SplitScriptLine(lines[i]);
            if (!words.empty())
                ApplyLine(file, words);
        } catch (const std::out_of_range& e) {
            throw LineError(i + 1, PlainMessage(IdentifierShortage(bytes, e).what()));
        } catch (const EditError& e) {
            throw LineError(i + 1, PlainMessage(e.what()), e.Details());
        } catch (const std::exception& e) {
            throw LineError(i + 1, PlainMessage(e.what()));
        }
    }
}

// Clears the session however the script ends.
struct SessionScope {
    explicit SessionScope(EditSession& session) { SetEditSession(&session); }
    ~SessionScope() { SetEditSession(nullptr); }
    SessionScope(const SessionScope&) = delete;
    SessionScope& operator=(const SessionScope&) = delete;
};

// The document as loaded and as the script left it.
EditedBytes ScriptResult(const std::string& file, const std::vector<unsigned char>& bytes,
                         const std::vector<std::string>& lines) {
    const std::wstring dataname = FromUtf8(file);
    ClearDocumentTouches();
    EditSession session{std::make_unique<fwcommon::Context>(dataname), dataname, bytes};
    EditedBytes document;
    try {
        LoadForEditing(*session.context, dataname, bytes);
        NoteLoaded(bytes, *session.context, dataname, document, true);
    } catch (const std::out_of_range& e) {
        throw IdentifierShortage(bytes, e);
    }
    {
        SessionScope scope(session);
        ApplyScript(file, bytes, lines);
    }
    document.edited = EditedBytesOf(*session.context, dataname);
    LeaveToProcessEnd(std::move(session.context));
    return document;
}

// As iptables-restore and nft -f do not echo a script, apply sums it up
// in one line: "applied 7 edits from changes.txt".
std::string Summary(std::size_t edits, const std::string& script) {
    return "applied " + std::to_string(edits) + (edits == 1 ? " edit" : " edits") + " from " +
           (script == "-" ? std::string("standard input") : script);
}

// A script that failed leaves the file as it was: its edits are forgotten.
void ReportNothingWritten(const std::string& file, const std::string& message,
                          const std::vector<std::string>& details) {
    ForgetEdits();
    PrintFileError(std::cerr, file, message + "; nothing was written");
    PrintDetailLines(std::cerr, details);
}

int Apply(const ApplyArguments& a) {
    const std::string& file = a.target.file;
    try {
        const std::vector<std::string> lines = ReadScript(a.script);
        std::optional<EditLock> lock;  // held until the file is replaced
        LockForReplacing(a.target, lock);
        const std::vector<unsigned char> bytes = ReadFile(file);
        const EditedBytes document = ScriptResult(file, bytes, lines);
        const std::vector<unsigned char>& result = document.edited;
        const std::size_t edits = NotedEdits();
        ForgetEdits();
        ProveReadable(bytes, result);
        // Every editing line notes its edit: a script that noted none
        // changed nothing, even where the load renumbered rules.
        if (edits == 0 || SameAsFile(document, bytes)) {
            LeftAsItWas(a.target);
            return kExitOk;
        }
        // Comments stand in the way of writing only: a script that fails,
        // or changes nothing, says so first.
        if (!MayEdit(a.target, bytes))
            return kExitFailure;
        if (a.target.dryRun) {
            PrintDryRun(a.target, bytes, document);
            return kExitOk;
        }
        ExpectReplaceable(file, lock, bytes, a.target.force,
                          "the file changed while it was being edited");
        Deliver(file, result, false);
        WarnCommentsDropped(file, bytes, a.target.dropComments);
        PrintRenumbered(file, document);
        // Standard output holds the document itself: no summary there.
        if (file != kStandardStream)
            ReportEdit(Summary(edits, a.script));
        return kExitOk;
    } catch (const xml_schema::exception& e) {
        ForgetEdits();
        PrintDocumentErrors(std::cerr, file, e);
    } catch (const EditError& e) {
        ReportNothingWritten(file, e.what(), e.Details());
    } catch (const std::exception& e) {
        ReportNothingWritten(file, e.what(), {});
    }
    return kExitFailure;
}

}  // namespace

void AddApplyCommand(CLI::App& app, int* status) {
    auto a = std::make_shared<ApplyArguments>();
    CLI::App* apply = app.add_subcommand(
        "apply", "Apply a script of edits in one pass: all of them or, if one fails, none");
    apply->add_option("FILE", a->target.file, "Policy file to change")->required();
    apply->add_option("SCRIPT", a->script, "Script of edits, one per line ('-' or none: stdin)");
    AddDryRunFlag(*apply, a->target);
    apply->add_flag("--drop-comments", a->target.dropComments,
                    "Rewrite the file even though its XML comments and processing instructions "
                    "will be lost");
    AddReplaceOptions(*apply, a->target);
    AddQuietFlag(*apply);
    apply->callback([a, status] {
        if (a->target.file == kStandardStream && a->script == kStandardStream)
            throw CLI::ValidationError(
                "SCRIPT",
                "standard input cannot hold both the policy and the script; give the "
                "script as a file");
        *status = Apply(*a);
    });
}

}  // namespace fwpolicy
