#include "verbs/ObjectsCommand.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ExitStatus.h"
#include "fileio/DataFiles.h"
#include "fileio/FileIo.h"
#include "fileio/PolicyFile.h"
#include "policy/PolicyIndex.h"
#include "render/Diagnostics.h"
#include "render/ItemNames.h"
#include "render/ObjectJson.h"
#include "render/ObjectWords.h"
#include "render/TextTable.h"
#include "terminal/SafeText.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

struct ObjectsOptions {
    std::string file;
    std::vector<std::string> types;
    bool json = false;
    bool names = false;
    bool raw = false;
};

std::wstring Joined(const std::vector<std::wstring>& items) {
    std::wstring text;
    for (const auto& item : items)
        text += (text.empty() ? L"" : L"; ") + item;
    return text.empty() ? L"-" : text;
}

std::vector<const ObjectEntry*> OfKind(const PolicyIndex& index, ObjectKind kind) {
    std::vector<const ObjectEntry*> objects;
    for (const ObjectEntry& object : index.objects) {
        if (object.key.kind == kind)
            objects.push_back(&object);
    }
    return objects;
}

void PrintKind(const std::string& kind, const std::vector<const ObjectEntry*>& objects,
               const RuleCountMap& counts) {
    std::vector<std::vector<std::wstring>> table = {
        {L"ID", L"NAME", L"CREATION", L"RULES", L"INCLUDES", L"EXCLUDES"}};
    for (const ObjectEntry* object : objects) {
        table.push_back({std::to_wstring(object->key.id), object->name, object->creationType,
                         std::to_wstring(RulesUsing(counts, object->key)),
                         Joined(object->inclusions), Joined(object->exclusions)});
    }
    std::cout << kind << " objects (" << objects.size() << ")\n";
    PrintTable(std::cout, table);
}

// One name per line, for scripts and shell completion.
void PrintNames(const std::vector<const ObjectEntry*>& objects) {
    for (const ObjectEntry* object : objects)
        std::cout << terminal::Printable(ToUtf8(object->name)) << '\n';
}

int ListObjects(const ObjectsOptions& options) {
    const auto policy = LoadPolicyFile(options.file);
    if (!policy)
        return kExitFailure;
    if (!LoadDictionaries())
        return kExitFailure;
    PolicyIndex index = IndexReferences(*policy);
    try {
        UseEntryTexts(options.file, *policy, options.raw, index);
    } catch (const std::exception& e) {
        PrintFileError(std::cerr, options.file, e.what());
        return kExitFailure;
    }
    // The JSON of every object's members is built up front: only for --json.
    std::optional<ObjectJsonWriter> writer;
    if (options.json)
        writer.emplace(*policy);
    const RuleCountMap counts = RuleCounts(index);
    ConditionJson::Json json = ConditionJson::Json::object();
    for (std::size_t k = 0; k < KindNames().size(); ++k) {
        const std::string& kind = KindNames()[k];
        if (!options.types.empty() &&
            std::find(options.types.begin(), options.types.end(), kind) == options.types.end())
            continue;
        const auto objects = OfKind(index, static_cast<ObjectKind>(k));
        if (options.names) {
            PrintNames(objects);
            continue;
        }
        if (!options.json) {
            PrintKind(kind, objects, counts);
            continue;
        }
        auto& list = json[kind] = ConditionJson::Json::array();
        for (const ObjectEntry* object : objects)
            list.push_back(writer->Object(*object, RulesUsing(counts, object->key)));
    }
    if (options.json)
        std::cout << json.dump(2) << '\n';
    return kExitOk;
}

}  // namespace

void UseItemNames(const std::string& file, const Sarvo::PolicyType& policy, PolicyIndex& index) {
    const auto names = LibraryItemNames(policy, FromUtf8(file));
    for (ObjectEntry& object : index.objects) {
        const auto found = names.find(PlaceOf(object));
        if (found == names.end() || !(found->second.key == object.key) ||
            found->second.name != object.name)
            throw std::runtime_error("the library holds no " + KindName(object.key.kind) +
                                     " object " + std::to_string(object.key.id));
        object.inclusions = found->second.inclusions;
        object.exclusions = found->second.exclusions;
    }
}

void UseEntryTexts(const std::string& file, const Sarvo::PolicyType& policy, bool raw,
                   PolicyIndex& index) {
    if (!raw) {
        UseWords(policy, index);
        return;
    }
    UseItemNames(file, policy, index);
    UseCreationTypeWords(policy, index);
}

void AddObjectsCommand(CLI::App& app, int* status) {
    auto options = std::make_shared<ObjectsOptions>();
    CLI::App* objects = app.add_subcommand(
        "objects", "List the named objects of a policy file and how many rules use each");
    objects->add_option("FILE", options->file, "Policy file")->required();
    objects
        ->add_option("--type", options->types,
                     "Only these kinds: ip, interface, vpn, service, schedule (repeatable, or "
                     "joined by commas)")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->delimiter(',')
        ->check(CLI::IsMember(KindNames()));
    CLI::Option* json = objects->add_flag("--json", options->json, "Print JSON instead of tables");
    objects->add_flag("--raw", options->raw,
                      "Show entries by the library's item names instead of the tool's words");
    objects
        ->add_flag("--names", options->names,
                   "Print only the names, one per line (control characters escaped)")
        ->excludes(json);
    objects->callback([options, status] { *status = ListObjects(*options); });
}

}  // namespace fwpolicy
