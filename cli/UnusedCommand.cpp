#include "UnusedCommand.h"

#include <iostream>
#include <memory>
#include <set>
#include <string>
#include <vector>

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

int ListUnused(const std::vector<std::string>& files) {
    PolicyIndex index;
    const bool allLoaded = IndexFiles(files, index);
    const std::set<ObjectKey> referenced = ReferencedObjects(index);
    for (const ObjectEntry& object : index.objects) {
        if (referenced.count(object.key) == 0) {
            std::cout << terminal::Printable(object.file) << ": " << KindName(object.key.kind)
                      << ' ' << object.key.id << ' ' << terminal::Printable(ToUtf8(object.name))
                      << '\n';
        }
    }
    return allLoaded ? kExitOk : kExitFailure;
}

}  // namespace

void AddUnusedCommand(CLI::App& app, int* status) {
    auto files = std::make_shared<std::vector<std::string>>();
    CLI::App* verb = app.add_subcommand(
        "unused", "List the named objects that no rule and no other named object refers to");
    verb->add_option("FILE", *files, "Policy files; rules of one may use objects of another")
        ->required();
    verb->callback([files, status] { *status = ListUnused(*files); });
}

}  // namespace fwpolicy
