#include "UnusedCommand.h"

#include <iostream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "CheckCommand.h"
#include "IndexedFiles.h"
#include "Utf8.h"
#include "terminal/SafeText.h"

namespace fwpolicy {
namespace {

std::set<ObjectKey> ReferencedObjects(const PolicyIndex& index) {
    std::set<ObjectKey> referenced;
    for (const RuleUse& use : index.uses)
        referenced.insert(use.object);
    for (const ObjectEntry& object : index.objects)
        referenced.insert(object.refers.begin(), object.refers.end());
    return referenced;
}

struct UnusedOptions {
    std::vector<std::string> files;
    bool json = false;
};

int ListUnused(const UnusedOptions& options) {
    PolicyIndex index;
    const bool allLoaded = IndexFiles(options.files, index);
    const std::set<ObjectKey> referenced = ReferencedObjects(index);
    nlohmann::ordered_json unused = nlohmann::ordered_json::array();
    for (const ObjectEntry& object : index.objects) {
        if (referenced.count(object.key) != 0)
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
                     "Policy files; rules of one may use objects of another")
        ->required();
    verb->add_flag("--json", options->json, "Print the unused objects as JSON");
    verb->callback([options, status] { *status = ListUnused(*options); });
}

}  // namespace fwpolicy
