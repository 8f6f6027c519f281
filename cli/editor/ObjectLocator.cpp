#include "editor/ObjectLocator.h"

#include <vector>

#include <fwcommon/INamedObject.h>
#include "editor/ObjectDirectory.h"
#include "editor/PolicyEdit.h"
#include "policy/PolicyIndex.h"
#include "text/Utf8.h"
#include "textforms/References.h"

namespace fwpolicy {
namespace {

bool ById(const ObjectLocator& locator) {
    return locator.idOption->count() > 0;
}

// What a locator compares of an object, whether the library holds it or
// the tool's index of a file.
struct Candidate {
    std::string kind;
    long long id = 0;
    std::wstring name;
};

Candidate CandidateOf(const fwcommon::INamedObject& object) {
    return {ObjectKindWord(object.GetNamedObjectType()),
            static_cast<long long>(object.GetIdentifier()), object.GetName()};
}

Candidate CandidateOf(const ObjectEntry& entry) {
    return {KindName(entry.key.kind), entry.key.id, entry.name};
}

// An object as messages name it: ip 300101 "Backup".
std::string CandidateText(const Candidate& candidate) {
    return candidate.kind + " " + std::to_string(candidate.id) + " \"" + ToUtf8(candidate.name) +
           "\"";
}

bool Wanted(const Candidate& candidate, const ObjectLocator& locator, const std::string& name) {
    if (!locator.type.empty() && candidate.kind != locator.type)
        return false;
    if (ById(locator))
        return candidate.id == locator.id;
    return ToUtf8(candidate.name) == name;
}

// The options that tell the matches apart: --type when their kinds differ,
// and the one of --name and --id not used when that differs.
std::string Choices(const ObjectLocator& locator, const std::vector<Candidate>& matches) {
    const auto differ = [&matches](auto field) {
        for (const Candidate& match : matches) {
            if (field(match) != field(matches.front()))
                return true;
        }
        return false;
    };
    std::vector<std::string> options;
    if (locator.type.empty() && differ([](const Candidate& c) { return c.kind; }))
        options.push_back("--type");
    if (ById(locator) && differ([](const Candidate& c) { return c.name; }))
        options.push_back("--name");
    if (!ById(locator) && differ([](const Candidate& c) { return c.id; }))
        options.push_back("--id");
    if (options.empty())
        return "; no option tells them apart";
    std::string text = "; choose one with " + options.front();
    for (std::size_t i = 1; i < options.size(); ++i)
        text += " or " + options[i];
    return text;
}

// The position of the one candidate that locator names; throws EditError
// when none or several are.
std::size_t Locate(const std::vector<Candidate>& candidates, const ObjectLocator& locator) {
    std::vector<std::size_t> found;
    for (const std::string& name : textforms::NamesMeantBy(locator.name)) {
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            if (Wanted(candidates[i], locator, name))
                found.push_back(i);
        }
        if (!found.empty() || ById(locator))
            break;
    }
    if (found.empty())
        throw EditError("no named object " + Described(locator));
    if (found.size() > 1) {
        std::vector<Candidate> matches;
        std::string list;
        for (const std::size_t i : found) {
            matches.push_back(candidates[i]);
            list += (list.empty() ? "" : ", ") + CandidateText(candidates[i]);
        }
        throw EditError("several named objects match " + Described(locator) + " (" + list + ")" +
                        Choices(locator, matches));
    }
    return found.front();
}

}  // namespace

void AddLocatorOptions(CLI::App& verb, ObjectLocator& locator) {
    locator.nameOption = verb.add_option("--name", locator.name, "Name of the named object");
    locator.idOption = verb.add_option("--id", locator.id, "Id of the named object");
    locator.nameOption->excludes(locator.idOption);
    verb.add_option("--type", locator.type, "Kind of the object, when several match")
        ->check(CLI::IsMember(KindNames()));
    const CLI::Option* name = locator.nameOption;
    const CLI::Option* id = locator.idOption;
    verb.parse_complete_callback([name, id] {
        if (name->count() == 0 && id->count() == 0)
            throw CLI::ValidationError("name the object with --name NAME or --id ID");
    });
}

std::shared_ptr<fwcommon::INamedObject> FindObject(fwcommon::Context& context,
                                                   const std::wstring& dataname,
                                                   const ObjectLocator& locator) {
    const auto objects = context.GetNamedObjects(dataname);
    std::vector<Candidate> candidates;
    for (const auto& object : *objects)
        candidates.push_back(CandidateOf(*object));
    return (*objects)[Locate(candidates, locator)];
}

const ObjectEntry& FindEntry(const PolicyIndex& index, const ObjectLocator& locator) {
    std::vector<Candidate> candidates;
    for (const ObjectEntry& entry : index.objects)
        candidates.push_back(CandidateOf(entry));
    return index.objects[Locate(candidates, locator)];
}

std::string Described(const ObjectLocator& locator) {
    const std::string text =
        ById(locator) ? "with id " + std::to_string(locator.id) : "\"" + locator.name + "\"";
    return locator.type.empty() ? text : text + " of type " + locator.type;
}

std::string NamedObjectText(const fwcommon::INamedObject& object) {
    return CandidateText(CandidateOf(object));
}

}  // namespace fwpolicy
