#include "verbs/WhereUsedCommand.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <nlohmann/json.hpp>

#include "ExitStatus.h"
#include "policy/IndexedFiles.h"
#include "render/TextTable.h"
#include "terminal/SafeText.h"
#include "text/Utf8.h"
#include "textforms/References.h"

namespace fwpolicy {
namespace {

struct WhereUsedOptions {
    std::vector<std::string> files;
    std::string objects;  // --objects
    std::string object;
    bool json = false;
};

using Json = nlohmann::ordered_json;

// One rule that refers to the object, with every place it does so.
struct RuleLine {
    const RuleUse* use = nullptr;
    std::wstring places;
};

std::vector<RuleLine> RulesReferring(const PolicyIndex& index, const ObjectResolver& resolver,
                                     const ObjectEntry& object) {
    std::vector<RuleLine> lines;
    std::map<std::tuple<std::string, std::string, std::size_t>, std::size_t> seen;
    for (const RuleUse& use : index.uses) {
        if (resolver.Resolve(use.file, use.object) != &object)
            continue;
        const auto rule = std::make_tuple(use.file, use.section, use.index);
        const std::wstring place = FromUtf8(WhereName(use.where));
        const auto found = seen.find(rule);
        if (found == seen.end()) {
            seen.emplace(rule, lines.size());
            lines.push_back({&use, place});
        } else if (lines[found->second].places.find(place) == std::wstring::npos) {
            lines[found->second].places += L", " + place;
        }
    }
    return lines;
}

std::wstring Heading(const ObjectEntry& object) {
    return FromUtf8(object.file + ": " + KindName(object.key.kind) + " object ") +
           std::to_wstring(object.key.id) + L" \"" + object.name + L"\"";
}

void PrintUses(const PolicyIndex& index, const ObjectResolver& resolver,
               const ObjectEntry& object) {
    std::cout << terminal::Printable(ToUtf8(Heading(object))) << '\n';
    const std::vector<RuleLine> rules = RulesReferring(index, resolver, object);
    std::cout << "rules (" << rules.size() << ")\n";
    std::vector<std::vector<std::wstring>> table;
    for (const RuleLine& line : rules) {
        const RuleUse& use = *line.use;
        table.push_back({FromUtf8(use.file), FromUtf8(use.section), std::to_wstring(use.index),
                         std::to_wstring(use.ruleId), use.ruleName, line.places});
    }
    if (!table.empty())
        table.insert(table.begin(), {L"FILE", L"SECTION", L"#", L"ID", L"NAME", L"WHERE"});
    PrintTable(std::cout, table);
    const auto dependents = DependentObjects(index, resolver, object);
    std::cout << "dependent objects (" << dependents.size() << ")\n";
    table.clear();
    for (const ObjectEntry* dependent : dependents) {
        table.push_back({FromUtf8(dependent->file), FromUtf8(KindName(dependent->key.kind)),
                         std::to_wstring(dependent->key.id), dependent->name});
    }
    if (!table.empty())
        table.insert(table.begin(), {L"FILE", L"KIND", L"ID", L"NAME"});
    PrintTable(std::cout, table);
}

Json ObjectRef(const ObjectEntry& object) {
    return {{"file", object.file},
            {"kind", KindName(object.key.kind)},
            {"id", object.key.id},
            {"name", ToUtf8(object.name)}};
}

// One object, the rules that refer to it (with every place they do) and
// the objects that refer to it, in the order the text prints them.
Json UsesJson(const PolicyIndex& index, const ObjectResolver& resolver, const ObjectEntry& object) {
    Json rules = Json::array();
    for (const RuleLine& line : RulesReferring(index, resolver, object)) {
        const RuleUse& use = *line.use;
        Json where = Json::array();
        for (const RuleUse& other : index.uses) {
            const bool sameRule = other.file == use.file && other.section == use.section &&
                                  other.index == use.index && other.object == use.object;
            const std::string place = WhereName(other.where);
            if (sameRule && std::find(where.begin(), where.end(), place) == where.end())
                where.push_back(place);
        }
        rules.push_back({{"file", use.file},
                         {"section", use.section},
                         {"position", use.index},
                         {"ruleId", use.ruleId},
                         {"name", ToUtf8(use.ruleName)},
                         {"where", where}});
    }
    Json dependents = Json::array();
    for (const ObjectEntry* dependent : DependentObjects(index, resolver, object))
        dependents.push_back(ObjectRef(*dependent));
    Json j = ObjectRef(object);
    j["rules"] = rules;
    j["dependentObjects"] = dependents;
    return j;
}

// The name of the objects that given means (itself, or the name it refers
// to as @Name): the first that some object of the files has.
std::wstring NameHeld(const PolicyIndex& index, const std::string& given) {
    for (const std::string& meant : textforms::NamesMeantBy(given)) {
        const std::wstring name = FromUtf8(meant);
        for (const ObjectEntry& object : index.objects) {
            if (object.name == name)
                return name;
        }
    }
    return FromUtf8(given);
}

int WhereUsed(const WhereUsedOptions& options) {
    PolicyIndex index;
    const bool allLoaded = IndexFiles(options.files, options.objects, index);
    const ObjectResolver resolver(index, options.objects);
    bool found = false;
    Json objects = Json::array();
    const std::wstring name = NameHeld(index, options.object);
    for (const ObjectEntry& object : index.objects) {
        if (object.name != name)
            continue;
        if (options.json) {
            objects.push_back(UsesJson(index, resolver, object));
        } else {
            if (found)
                std::cout << '\n';
            PrintUses(index, resolver, object);
        }
        found = true;
    }
    if (options.json && allLoaded)
        std::cout << Json{{"objects", objects}}.dump(2) << '\n';
    if (!found && allLoaded)
        std::cerr << "fwpolicy: no named object \"" << terminal::Printable(options.object)
                  << "\" in the files given\n";
    return found && allLoaded ? kExitOk : kExitFailure;
}

}  // namespace

void AddWhereUsedCommand(CLI::App& app, int* status) {
    auto options = std::make_shared<WhereUsedOptions>();
    CLI::App* verb = app.add_subcommand(
        "where-used", "Show the rules and named objects that refer to a named object");
    verb->add_option("FILE", options->files,
                     "Policy files; the rules of each refer to its own objects")
        ->required();
    verb->add_option("--objects", options->objects,
                     "Named-objects file whose objects the rules may refer to");
    verb->add_option("--object", options->object, "Name of the named object")->required();
    verb->add_flag("--json", options->json, "Print the objects and their users as JSON");
    verb->callback([options, status] { *status = WhereUsed(*options); });
}

}  // namespace fwpolicy
