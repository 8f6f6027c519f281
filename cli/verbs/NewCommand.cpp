#include "verbs/NewCommand.h"

#include <sys/stat.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <fwcommon/Context.h>
#include <fwcommon/PolicyDocument.h>
#include "ExitStatus.h"
#include "editor/PolicyEdit.h"
#include "fileio/ExclusiveFile.h"
#include "fileio/FileIo.h"
#include "render/Diagnostics.h"
#include "render/EditReport.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

struct NewArguments {
    EditTarget target;
};

// The document the library makes from no bytes, as the edits would write it.
std::vector<unsigned char> EmptyPolicy(const std::string& file) {
    const std::wstring dataname = FromUtf8(file);
    fwcommon::Context context(dataname);
    LoadForEditing(context, dataname, {});
    std::vector<unsigned char> bytes;
    context.GetXmlData(dataname, bytes);
    fwcommon::ParsePolicyDocument(bytes);  // never write what we could not read back
    return bytes;
}

bool Exists(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

void Replace(const EditTarget& target, const std::vector<unsigned char>& bytes) {
    std::optional<EditLock> lock;
    LockForReplacing(target, lock);
    Deliver(target.file, bytes, false);
}

int MakeNew(const NewArguments& a) {
    const std::string& file = a.target.file;
    try {
        const std::vector<unsigned char> bytes = EmptyPolicy(file);
        if (file == kStandardStream) {
            Deliver(file, bytes, true);
            return kExitOk;
        }
        if (std::filesystem::is_directory(file))
            throw std::runtime_error("is a directory");
        const bool replacing = a.target.force && Exists(file);
        if (replacing) {
            Replace(a.target, bytes);
        } else {
            CreateFileExclusively(file, bytes);
        }
        ReportEdit(std::string(replacing ? "replaced " : "created ") + file +
                   " with an empty policy (no rules, named objects or options)");
        return kExitOk;
    } catch (const xml_schema::exception& e) {
        PrintDocumentErrors(std::cerr, file, e);
    } catch (const std::exception& e) {
        PrintFileError(std::cerr, file, e.what());
    }
    return kExitFailure;
}

}  // namespace

void AddNewCommand(CLI::App& app, int* status) {
    auto a = std::make_shared<NewArguments>();
    CLI::App* verb = app.add_subcommand(
        "new", "Write a new policy file without rules, named objects or options");
    verb->add_option("FILE", a->target.file, "Policy file to create ('-': standard output)")
        ->required();
    verb->add_flag("--force", a->target.force,
                   "Replace the file when it exists (even when it is read-only)");
    AddQuietFlag(*verb);
    verb->callback([a, status] { *status = MakeNew(*a); });
}

}  // namespace fwpolicy
