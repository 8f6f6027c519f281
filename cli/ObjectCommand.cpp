#include "ObjectCommand.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <fwcommon/INamedObject.h>
#include <fwcommon/PolicyDocument.h>
#include "CheckCommand.h"
#include "Diagnostics.h"
#include "EditReport.h"
#include "PolicyEdit.h"
#include "PolicyIndex.h"
#include "Utf8.h"
#include "editor/ObjectDirectory.h"
#include "editor/ObjectEditCommands.h"

namespace fwpolicy {
namespace {

using fwcommon::Context;
using fwcommon::INamedObject;

struct ObjectArguments {
    EditTarget target;
    std::string name;
    std::string type;
};

std::shared_ptr<INamedObject> FindObject(Context& context, const std::wstring& dataname,
                                         const ObjectArguments& a) {
    std::vector<std::shared_ptr<INamedObject>> matches;
    const auto objects = context.GetNamedObjects(dataname);
    for (const auto& object : *objects) {
        const INamedObject& constObject = *object;
        if (constObject.GetName() == FromUtf8(a.name) &&
            (a.type.empty() || KindName(KindOf(object->GetNamedObjectType())) == a.type))
            matches.push_back(object);
    }
    if (matches.empty())
        throw EditError("no named object \"" + a.name + "\"" +
                        (a.type.empty() ? "" : " of type " + a.type));
    if (matches.size() > 1)
        throw EditError("several named objects are called \"" + a.name +
                        "\"; choose one with --type");
    return matches.front();
}

// The document as it stands in the Context, indexed.
PolicyIndex CurrentIndex(Context& context, const std::wstring& dataname) {
    std::vector<unsigned char> bytes;
    context.GetXmlData(dataname, bytes);
    return IndexPolicy(*fwcommon::ParsePolicyDocument(bytes), *fwcommon::GetXmlWrapper());
}

const ObjectEntry& Entry(const PolicyIndex& index, ObjectKind kind, const std::string& name) {
    for (const ObjectEntry& object : index.objects) {
        if (object.key.kind == kind && object.name == FromUtf8(name))
            return object;
    }
    throw EditError("no named object \"" + name + "\" in the document");
}

// Refuses when another object of the document refers to this one.
void CheckNotIncluded(const PolicyIndex& index, const ObjectEntry& object) {
    for (const ObjectEntry* other : DependentObjects(index, object.key)) {
        for (const ObjectKey& ref : other->refers) {
            if (ref == object.key) {
                throw EditError("named object \"" + ToUtf8(object.name) + "\" is part of " +
                                KindName(other->key.kind) + " object \"" + ToUtf8(other->name) +
                                "\"; take it out of there first");
            }
        }
    }
}

// One line per reference the removal takes out of a rule: such a rule may
// match more than before.
std::vector<std::string> ReferenceNotes(const PolicyIndex& index, const ObjectEntry& object) {
    std::vector<std::string> notes;
    for (const RuleUse& use : index.uses) {
        if (use.object == object.key) {
            notes.push_back("note: rule " + use.section + " " + std::to_string(use.index) + " \"" +
                            ToUtf8(use.ruleName) + "\" no longer refers to it (" +
                            WhereName(use.where) + ")");
        }
    }
    return notes;
}

void RemoveObject(Context& context, const std::wstring& dataname, const ObjectArguments& a,
                  std::vector<std::string>& notes) {
    const auto object = FindObject(context, dataname, a);
    const PolicyIndex index = CurrentIndex(context, dataname);
    const ObjectEntry& entry = Entry(index, KindOf(object->GetNamedObjectType()), a.name);
    CheckNotIncluded(index, entry);
    const std::string phrase = ObjectPhrase(*object);
    if (!context.RemoveNamedObject(dataname, object->GetCreationType(), FromUtf8(a.name)))
        throw EditError("the named object \"" + a.name + "\" could not be removed");
    notes = ReferenceNotes(index, entry);
    NoteEdit("removed " + phrase);
}

}  // namespace

void AddObjectCommand(CLI::App& app, int* status) {
    CLI::App* object =
        app.add_subcommand("object", "Add, change, rename, show or remove a named object");
    object->require_subcommand(1);
    auto a = std::make_shared<ObjectArguments>();
    CLI::App* remove = object->add_subcommand(
        "remove", "Remove a named object and every reference to it from the rules");
    AddEditTarget(*remove, a->target);
    remove->add_option("--name", a->name, "Name of the named object")->required();
    remove->add_option("--type", a->type, "Kind of the object, when several share the name")
        ->check(CLI::IsMember(KindNames()));
    remove->callback([a, status] {
        std::vector<std::string> notes;
        *status = RunEdit(a->target, [a, &notes](Context& c, const std::wstring& d) {
            RemoveObject(c, d, *a, notes);
        });
        if (*status == kExitOk) {
            for (const std::string& note : notes)
                PrintFileError(std::cerr, a->target.file, note);
        }
    });
    AddObjectEditVerbs(*object, status);
}

}  // namespace fwpolicy
