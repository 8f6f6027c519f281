#include "ObjectEditCommands.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <fwcommon/INamedObject.h>

#include "ExitStatus.h"
#include "ObjectDirectory.h"
#include "ObjectMembers.h"
#include "editor/ObjectLocator.h"
#include "editor/PolicyEdit.h"
#include "fileio/DataFiles.h"
#include "fileio/FileIo.h"
#include "fileio/PolicyFile.h"
#include "policy/PolicyIndex.h"
#include "render/Diagnostics.h"
#include "render/EditReport.h"
#include "render/ObjectJson.h"
#include "terminal/SafeText.h"
#include "text/Utf8.h"
#include "verbs/ObjectsCommand.h"

namespace fwpolicy {
namespace {

using fwcommon::Context;
using fwcommon::INamedObject;

struct ObjectEditArguments {
    EditTarget target;
    ObjectLocator locator;
    std::string type;  // object add
    std::string name;  // object add
    std::string newName;
    std::string addOption = "--member";  // how the verb names the entries it includes
    std::vector<std::string> members, exclusions, removed, removedExclusions;
    bool json = false;
    bool raw = false;
};

void CheckNewName(Context& context, const std::wstring& dataname, fwcommon::NamedObjectType type,
                  const std::string& name) {
    if (name.empty())
        throw EditError("a named object needs a non-empty name");
    const auto objects = context.GetNamedObjects(dataname, type);
    for (const auto& object : *objects) {
        const INamedObject& kept = *object;
        if (ToUtf8(kept.GetName()) == name)
            throw EditError("there is " + ObjectKindPhrase(type) + " named \"" + name +
                            "\" already");
    }
}

template <typename Each>
void ForEntries(const std::string& option, const std::vector<std::string>& entries, Each each) {
    for (const std::string& entry : entries) {
        try {
            each(entry);
        } catch (const EditError& e) {
            throw EditError(option + ": " + e.what());
        }
    }
}

// The entries an edit appended to each list; one a list held already is
// not appended again.
struct Appended {
    std::size_t inclusions = 0;
    std::size_t exclusions = 0;
};

Appended ChangeMembers(Context& context, const std::wstring& dataname,
                       const std::shared_ptr<INamedObject>& object, const ObjectEditArguments& a) {
    LoadDictionaries();
    const auto names = textforms::ProtocolNames::FromDictionary();
    ObjectMembers members(context, dataname, object, names);
    Appended appended;
    ForEntries("--remove", a.removed,
               [&](const std::string& e) { members.Remove(MemberList::kInclusions, e); });
    ForEntries("--remove-exclude", a.removedExclusions,
               [&](const std::string& e) { members.Remove(MemberList::kExclusions, e); });
    ForEntries(a.addOption, a.members, [&](const std::string& e) {
        appended.inclusions += members.Add(MemberList::kInclusions, e) ? 1 : 0;
    });
    ForEntries("--exclude", a.exclusions, [&](const std::string& e) {
        appended.exclusions += members.Add(MemberList::kExclusions, e) ? 1 : 0;
    });
    if (!context.UpdateNamedObject(dataname, object))
        throw EditError("the named object could not be stored");
    return appended;
}

std::string Counted(std::size_t count, const std::string& what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

// "2 inclusions and 1 exclusion", "no entries".
std::string EntryCounts(std::size_t inclusions, std::size_t exclusions) {
    if (inclusions == 0 && exclusions == 0)
        return "no entries";
    if (exclusions == 0)
        return Counted(inclusions, "inclusion");
    if (inclusions == 0)
        return Counted(exclusions, "exclusion");
    return Counted(inclusions, "inclusion") + " and " + Counted(exclusions, "exclusion");
}

void AddObject(Context& context, const std::wstring& dataname, const ObjectEditArguments& a) {
    const fwcommon::NamedObjectType type = ObjectKindOfWord(a.type);
    CheckNewName(context, dataname, type, a.name);
    const auto object = context.CreateNamedObject(dataname, FromUtf8(a.name), L"", type);
    if (!object)
        throw EditError(a.type + " objects cannot be edited in this file");
    const Appended appended = ChangeMembers(context, dataname, object, a);
    NoteEdit("added " + ObjectPhrase(*object) + " with " +
             EntryCounts(appended.inclusions, appended.exclusions));
}

void SetObject(Context& context, const std::wstring& dataname, const ObjectEditArguments& a) {
    const auto object = FindObject(context, dataname, a.locator);
    if (a.members.empty() && a.exclusions.empty() && a.removed.empty() &&
        a.removedExclusions.empty())
        throw EditError("nothing to change: give --add, --remove, --exclude or --remove-exclude");
    const Appended appended = ChangeMembers(context, dataname, object, a);
    std::string changes;
    if (appended.inclusions > 0 || appended.exclusions > 0)
        changes = "added " + EntryCounts(appended.inclusions, appended.exclusions);
    if (!a.removed.empty() || !a.removedExclusions.empty())
        changes += (changes.empty() ? "removed " : ", removed ") +
                   EntryCounts(a.removed.size(), a.removedExclusions.size());
    if (changes.empty())
        throw NothingToChange(ObjectPhrase(*object) + " holds every entry given already");
    NoteEdit("changed " + ObjectPhrase(*object) + ": " + changes);
}

void RenameObject(Context& context, const std::wstring& dataname, const ObjectEditArguments& a) {
    const auto object = FindObject(context, dataname, a.locator);
    const INamedObject& kept = *object;
    if (ToUtf8(kept.GetName()) == a.newName)
        throw EditError("the object is called \"" + a.newName + "\" already");
    CheckNewName(context, dataname, object->GetNamedObjectType(), a.newName);
    const std::string phrase = ObjectPhrase(*object);
    object->SetName(FromUtf8(a.newName));
    if (!context.UpdateNamedObject(dataname, object))
        throw EditError("the named object could not be stored");
    NoteEdit("renamed " + phrase + " to " + QuotedName(a.newName));
}

// One "label: value" line; the value comes from the policy and is escaped.
void PrintField(const std::string& label, const std::string& value) {
    constexpr std::size_t kValueColumn = 10;
    const std::size_t padding = label.size() < kValueColumn ? kValueColumn - label.size() : 1;
    std::cout << label << std::string(padding, ' ') << terminal::Printable(value) << '\n';
}

void PrintObject(const ObjectEntry& entry, const PolicyIndex& index) {
    PrintField("kind:", KindName(entry.key.kind));
    PrintField("id:", std::to_string(entry.key.id));
    PrintField("name:", ToUtf8(entry.name));
    PrintField("creation:", ToUtf8(entry.creationType));
    PrintField("rules:", std::to_string(RulesUsing(index, entry.key)));
    for (const auto& inclusion : entry.inclusions)
        PrintField("include:", ToUtf8(inclusion));
    for (const auto& exclusion : entry.exclusions)
        PrintField("exclude:", ToUtf8(exclusion));
}

// Shows the object as the file gives it: one read of the file, no load
// through a context.
int ShowObject(const ObjectEditArguments& a) {
    const auto policy = LoadPolicyFile(a.target.file);  // says why it cannot
    if (!policy)
        return kExitFailure;
    try {
        PolicyIndex index = IndexPolicy(*policy, *fwcommon::GetXmlWrapper());
        UseEntryTexts(a.target.file, *policy, a.raw, index);
        const ObjectEntry& entry = FindEntry(index, a.locator);
        if (a.json)
            std::cout
                << ObjectJsonWriter(*policy).Object(entry, RulesUsing(index, entry.key)).dump(2)
                << '\n';
        else
            PrintObject(entry, index);
        return kExitOk;
    } catch (const std::exception& e) {
        PrintFileError(std::cerr, a.target.file, e.what());
    }
    return kExitFailure;
}

void AddMemberOptions(CLI::App& verb, ObjectEditArguments& a, const std::string& addName) {
    verb.add_option(addName, a.members,
                    "An entry to include, written as rule conditions are (10.1.0.0/24, "
                    "interface:eth0, vpn-node:7, tcp/22, 'daily 08:00-18:00', @\"Other\", "
                    "AllClients)");
    verb.add_option("--exclude", a.exclusions, "An entry to exclude, written as for " + addName);
}

CLI::App* AddEditVerb(CLI::App& object, const std::string& name, const std::string& help,
                      const std::shared_ptr<ObjectEditArguments>& a) {
    CLI::App* verb = object.add_subcommand(name, help);
    AddEditTarget(*verb, a->target);
    return verb;
}

// Entries that cannot parse as the object's kind (given by --type) are a
// usage error, found before the file is read.
void CheckEntryArguments(const ObjectEditArguments& a) {
    const std::string& kind = a.type.empty() ? a.locator.type : a.type;
    if (kind.empty())
        return;
    try {
        const fwcommon::NamedObjectType type = ObjectKindOfWord(kind);
        LoadDictionaries();
        const auto names = textforms::ProtocolNames::FromDictionary();
        const auto check = [&](const std::string& e) { CheckEntryText(type, e, names); };
        ForEntries(a.addOption, a.members, check);
        ForEntries("--exclude", a.exclusions, check);
        ForEntries("--remove", a.removed, check);
        ForEntries("--remove-exclude", a.removedExclusions, check);
    } catch (const EditError& e) {
        throw CLI::ValidationError(e.what());
    }
}

template <typename Edit>
void OnEdit(CLI::App& verb, const std::shared_ptr<ObjectEditArguments>& a, int* status, Edit edit) {
    verb.callback([a, status, edit] {
        CheckEntryArguments(*a);
        *status =
            RunEdit(a->target, [a, edit](Context& c, const std::wstring& d) { edit(c, d, *a); });
    });
}

void AddCreateVerb(CLI::App& object, int* status) {
    auto a = std::make_shared<ObjectEditArguments>();
    CLI::App* add = AddEditVerb(object, "add", "Add a named object with its entries", a);
    add->add_option("--type", a->type, "Kind of the new object")
        ->required()
        ->check(CLI::IsMember(KindNames()));
    add->add_option("--name", a->name, "Name of the new object")->required();
    AddMemberOptions(*add, *a, "--member");
    AddCreationTypeOption(*add, a->target,
                          "Creation type of the new object: generated, policy, user (the "
                          "default) or post; objects of every creation type take the next free "
                          "identifier of one sequence, from 1000000 up");
    OnEdit(*add, a, status, AddObject);
}

void AddSetVerb(CLI::App& object, int* status) {
    auto a = std::make_shared<ObjectEditArguments>();
    CLI::App* set =
        AddEditVerb(object, "set", "Add entries to a named object or remove them from it", a);
    AddLocatorOptions(*set, a->locator);
    a->addOption = "--add";
    AddMemberOptions(*set, *a, a->addOption);
    set->add_option("--remove", a->removed, "An included entry to take out");
    set->add_option("--remove-exclude", a->removedExclusions, "An excluded entry to take out");
    OnEdit(*set, a, status, SetObject);
}

void AddRenameVerb(CLI::App& object, int* status) {
    auto a = std::make_shared<ObjectEditArguments>();
    CLI::App* rename =
        AddEditVerb(object, "rename", "Rename a named object; the rules keep referring to it", a);
    AddLocatorOptions(*rename, a->locator);
    rename->add_option("--to", a->newName, "The new name")->required();
    OnEdit(*rename, a, status, RenameObject);
}

void AddShowVerb(CLI::App& object, int* status) {
    auto a = std::make_shared<ObjectEditArguments>();
    CLI::App* show = object.add_subcommand("show", "Show one named object and its entries");
    show->add_option("FILE", a->target.file, "Policy file")->required();
    AddLocatorOptions(*show, a->locator);
    show->add_flag("--json", a->json, "Print JSON, as `objects --json` prints each object");
    show->add_flag("--raw", a->raw,
                   "Show entries by the library's item names instead of the tool's words");
    show->callback([a, status] {
        if (!LoadDictionaries()) {
            *status = kExitFailure;
            return;
        }
        *status = ShowObject(*a);
    });
}

}  // namespace

void AddObjectEditVerbs(CLI::App& object, int* status) {
    AddCreateVerb(object, status);
    AddSetVerb(object, status);
    AddRenameVerb(object, status);
    AddShowVerb(object, status);
}

}  // namespace fwpolicy
