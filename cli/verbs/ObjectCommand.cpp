#include "verbs/ObjectCommand.h"

#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <fwcommon/INamedObject.h>
#include <fwcommon/IRule.h>
#include "ExitStatus.h"
#include "editor/ObjectDirectory.h"
#include "editor/ObjectEditCommands.h"
#include "editor/ObjectLocator.h"
#include "editor/PolicyEdit.h"
#include "fileio/PolicyFile.h"
#include "policy/PolicyIndex.h"
#include "policy/RuleSection.h"
#include "render/Diagnostics.h"
#include "render/EditReport.h"
#include "render/RuleTable.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

using fwcommon::Context;
using fwcommon::INamedObject;

struct ObjectArguments {
    EditTarget target;  // the file that holds the object
    std::vector<std::string> files;
    std::string objectsFile;  // --objects: the object is there, rules in files
    ObjectLocator locator;
};

// The references a named object makes: each entry that is another named
// object. The Context resolves them to the objects they name and drops
// those that name none, which could not name the one removed either.
std::vector<ObjectKey> ReferencesOf(const INamedObject& object) {
    std::vector<ObjectKey> refers;
    const auto inclusions = object.GetInclusions();
    const auto exclusions = object.GetExclusions();
    for (const auto* list : {inclusions.get(), exclusions.get()}) {
        for (const auto& item : *list) {
            const auto* named = dynamic_cast<const INamedObject*>(item.get());
            if (named != nullptr && item->GetItemKind() == fwcommon::eNamedObjectItem)
                refers.push_back(ObjectKey{KindOf(named->GetNamedObjectType()),
                                           static_cast<int>(named->GetIdentifier())});
        }
    }
    return refers;
}

// The document as it stands in the Context, indexed for references only:
// the named objects and the rules as the Context holds them, so that
// nothing is written or parsed again.
PolicyIndex CurrentIndex(Context& context, const std::wstring& dataname) {
    PolicyIndex index;
    const auto objects = context.GetNamedObjects(dataname);
    std::map<ObjectKind, std::size_t> placed;  // the library lists each kind in document order
    for (const auto& object : *objects) {
        ObjectEntry entry;
        entry.key = ObjectKey{KindOf(object->GetNamedObjectType()),
                              static_cast<int>(object->GetIdentifier())};
        entry.place = placed[entry.key.kind]++;
        entry.name = object->GetName();
        entry.refers = ReferencesOf(*object);
        index.objects.push_back(std::move(entry));
    }
    for (const std::string& section : SectionNames()) {
        const auto rules = context.GetRules(dataname, RuleTypeOfSection(section));
        for (std::size_t i = 0; rules && i < rules->size(); ++i)
            IndexRule(*(*rules)[i]->GetXmlRule(), section, i, index.uses);
    }
    return index;
}

const ObjectEntry& Entry(const PolicyIndex& index, const ObjectKey& key) {
    for (const ObjectEntry& object : index.objects) {
        if (object.key == key)
            return object;
    }
    throw EditError("no named object " + KindName(key.kind) + " " + std::to_string(key.id) +
                    " in the document");
}

// Refuses when another object of the document refers to this one.
void CheckNotIncluded(const PolicyIndex& index, const ObjectEntry& object) {
    for (const ObjectEntry* other : DependentObjects(index, ObjectResolver(index), object)) {
        for (const ObjectKey& ref : other->refers) {
            if (ref == object.key) {
                throw EditError("named object \"" + ToUtf8(object.name) + "\" is part of " +
                                KindName(other->key.kind) + " object \"" + ToUtf8(other->name) +
                                "\"; take it out of there first");
            }
        }
    }
}

bool Holds(const PolicyIndex& index, const ObjectKey& key) {
    for (const ObjectEntry& object : index.objects) {
        if (object.key == key)
            return true;
    }
    return false;
}

// The rules that refer to the object: those of its own file, and those of
// each rules file that holds no object of that kind and Id itself (its
// references resolve in the objects file).
std::vector<RuleUse> UsersOf(const PolicyIndex& own, const ObjectKey& key,
                             const std::vector<std::string>& ruleFiles) {
    std::vector<RuleUse> users;
    for (const RuleUse& use : own.uses) {
        if (use.object == key)
            users.push_back(use);
    }
    for (const std::string& file : ruleFiles) {
        const auto policy = LoadPolicyFile(file);  // says why it cannot
        if (!policy)
            throw EditError("the rules of " + file + " could not be read; nothing was removed");
        const PolicyIndex index = IndexReferences(*policy);
        if (Holds(index, key))
            continue;
        for (RuleUse use : index.uses) {
            if (use.object == key) {
                use.file = file;
                users.push_back(use);
            }
        }
    }
    return users;
}

// "transit rule 300001 "Admins in" at 0", as an edit names the rule it
// changed.
std::string RuleWords(const RuleUse& use) {
    return use.section + " rule " + std::to_string(use.ruleId) + " \"" + ToUtf8(use.ruleName) +
           "\" at " + std::to_string(use.index);
}

std::string RuleText(const RuleUse& use) {
    return (use.file.empty() ? "" : use.file + ": ") + RuleWords(use) + " (" +
           WhereName(use.where) + ")";
}

// Refused while rules refer to the object: taking the reference out of a
// rule makes it match more than before.
[[noreturn]] void RefuseWhileUsed(const ObjectEntry& object, const std::vector<RuleUse>& users) {
    std::string message = "named object \"" + ToUtf8(object.name) + "\" (" +
                          KindName(object.key.kind) + " " + std::to_string(object.key.id) +
                          ") is used by " + std::to_string(users.size()) +
                          (users.size() == 1 ? " rule" : " rules") +
                          ", which removing it would widen; give --force to remove it anyway";
    std::vector<std::string> rules;
    for (const RuleUse& use : users)
        rules.push_back(RuleText(use));
    throw EditError(message, rules);
}

// One line per rule the forced removal of the object (its phrase, 'ip
// object 7 "LAN"') changes: a rule of the object's file loses the
// reference and may match more than before; a rule of another file keeps
// a reference to no object.
std::vector<std::string> RemovalNotes(const std::vector<RuleUse>& users,
                                      const std::string& object) {
    std::vector<std::string> notes;
    for (const RuleUse& use : users) {
        notes.push_back(use.file.empty() ? "note: " + RuleWords(use) + " no longer refers to " +
                                               object + " (" + WhereName(use.where) + ")"
                                         : "warning: " + RuleText(use) + " still refers to " +
                                               object + " and now to no object");
    }
    return notes;
}

// The library finds the object by identifier and creation type; another
// object of the document with both would be removed instead.
void CheckRemovableById(Context& context, const std::wstring& dataname,
                        const INamedObject& object) {
    int sharing = 0;
    const auto objects = context.GetNamedObjects(dataname);
    for (const auto& other : *objects) {
        if (other->GetIdentifier() == object.GetIdentifier() &&
            other->GetCreationType() == object.GetCreationType())
            ++sharing;
    }
    if (sharing > 1)
        throw EditError("several named objects have the id " +
                        std::to_string(object.GetIdentifier()) +
                        " and its creation type; give them identifiers of their own first");
}

void RemoveObject(Context& context, const std::wstring& dataname, const ObjectArguments& a,
                  const std::vector<std::string>& ruleFiles, std::vector<std::string>& notes) {
    const auto object = FindObject(context, dataname, a.locator);
    const PolicyIndex index = CurrentIndex(context, dataname);
    const ObjectEntry& entry = Entry(index, ObjectKey{KindOf(object->GetNamedObjectType()),
                                                      static_cast<int>(object->GetIdentifier())});
    CheckNotIncluded(index, entry);
    const std::vector<RuleUse> users = UsersOf(index, entry.key, ruleFiles);
    if (!users.empty() && !a.target.force)
        RefuseWhileUsed(entry, users);
    CheckRemovableById(context, dataname, *object);
    const std::string phrase = ObjectPhrase(*object);
    const fwcommon::IdentifierWithType id(object->GetIdentifier(), object->GetCreationType());
    if (!context.RemoveNamedObjectById(dataname, id))
        throw EditError("the named object " + NamedObjectText(*object) + " could not be removed");
    notes = RemovalNotes(users, phrase);
    NoteEdit("removed " + phrase);
}

// Chooses the file the object is removed from: --objects, or the one FILE.
// The others are only read, for the rules that refer to it.
std::vector<std::string> ChooseTarget(ObjectArguments& a) {
    if (a.objectsFile.empty()) {
        if (a.files.size() > 1)
            throw CLI::ValidationError(
                "FILE",
                "several files given: name the one that holds the object with --objects "
                "FILE (the rules of the others are checked)");
        a.target.file = a.files.front();
        return {};
    }
    a.target.file = a.objectsFile;
    return a.files;
}

void AddRemoveVerb(CLI::App& object, int* status) {
    auto a = std::make_shared<ObjectArguments>();
    CLI::App* remove = object.add_subcommand(
        "remove", "Remove a named object; refused while rules refer to it, unless --force");
    remove
        ->add_option("FILE", a->files,
                     "Policy file holding the object, or with --objects the files whose rules "
                     "may refer to it")
        ->required();
    remove->add_option("--objects", a->objectsFile,
                       "Named-objects file the object is removed from");
    AddDryRunFlag(*remove, a->target);
    remove->add_flag("--drop-comments", a->target.dropComments,
                     "Rewrite the file even though its XML comments and processing instructions "
                     "will be lost");
    AddLocatorOptions(*remove, a->locator);
    AddReplaceOptions(*remove, a->target,
                      "Remove the object although rules refer to it; also replace the file even "
                      "when it is read-only or has several hard links");
    AddQuietFlag(*remove);
    remove->callback([a, status] {
        const std::vector<std::string> ruleFiles = ChooseTarget(*a);
        std::vector<std::string> notes;
        *status = RunEdit(a->target, [a, &ruleFiles, &notes](Context& c, const std::wstring& d) {
            RemoveObject(c, d, *a, ruleFiles, notes);
        });
        if (*status == kExitOk) {
            for (const std::string& note : notes)
                PrintFileError(std::cerr, a->target.file, note);
        }
    });
}

}  // namespace

void AddObjectCommand(CLI::App& app, int* status) {
    CLI::App* object =
        app.add_subcommand("object", "Add, change, rename, show or remove a named object");
    object->require_subcommand(1);
    AddRemoveVerb(*object, status);
    AddObjectEditVerbs(*object, status);
}

}  // namespace fwpolicy
