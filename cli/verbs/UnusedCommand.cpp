#include "verbs/UnusedCommand.h"

#include <iostream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "ExitStatus.h"
#include "policy/IndexedFiles.h"
#include "terminal/SafeText.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

// The objects some rule or other object refers to, each reference taken
// within its own file (or the named-objects file).
std::set<const ObjectEntry*> ReferencedObjects(const PolicyIndex& index,
                                               const ObjectResolver& resolver) {
    std::set<const ObjectEntry*> referenced;
    // A reference to an object that no file holds marks nothing.
    const auto mark = [&referenced](const ObjectEntry* object) {
        if (object)
            referenced.insert(object);
    };
    for (const RuleUse& use : index.uses)
        mark(resolver.Resolve(use.file, use.object));
    for (const ObjectEntry& object : index.objects) {
        for (const ObjectKey& ref : object.refers) {
            const ObjectEntry* referred = resolver.Resolve(object.file, ref);
            if (referred != &object)
                mark(referred);
        }
    }
    return referenced;
}

struct UnusedOptions {
    std::vector<std::string> files;
    std::string objects;  // --objects
    bool json = false;
};

int ListUnused(const UnusedOptions& options) {
    PolicyIndex index;
    const bool allLoaded = IndexFiles(options.files, options.objects, index);
    const std::set<const ObjectEntry*> referenced =
        ReferencedObjects(index, ObjectResolver(index, options.objects));
    nlohmann::ordered_json unused = nlohmann::ordered_json::array();
    for (const ObjectEntry& object : index.objects) {
        if (referenced.count(&object) != 0)
            continue;
        if (options.json) {
            unused.push_back({{"file", object.file},
                              {"kind", KindName(object.key.kind)},
                              {"id", object.key.id},
                              {"name", ToUtf8(object.name)}});
        } else {
            std::cout << terminal::Printable(object.file) << ": " << KindName(object.key.kind)
                      << ' ' << object.key.id << ' ' << terminal::Printable(ToUtf8(object.name))
                      << '\n';
        }
    }
    if (options.json && allLoaded)
        std::cout << nlohmann::ordered_json{{"unused", unused}}.dump(2) << '\n';
    return allLoaded ? kExitOk : kExitFailure;
}

}  // namespace

void AddUnusedCommand(CLI::App& app, int* status) {
    auto options = std::make_shared<UnusedOptions>();
    CLI::App* verb = app.add_subcommand(
        "unused", "List the named objects that no rule and no other named object refers to");
    verb->add_option("FILE", options->files,
                     "Policy files; the rules of each refer to its own objects")
        ->required();
    verb->add_option("--objects", options->objects,
                     "Named-objects file whose objects the rules may refer to");
    verb->add_flag("--json", options->json, "Print the unused objects as JSON");
    verb->callback([options, status] { *status = ListUnused(*options); });
}

}  // namespace fwpolicy
