#include "editor/ObjectLocator.h"

#include <vector>

#include <fwcommon/INamedObject.h>
#include "editor/ObjectDirectory.h"
#include "editor/PolicyEdit.h"
#include "policy/CreationTypeNames.h"
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
    std::string creationType;  // as CreationTypeNames gives it
};

Candidate CandidateOf(const fwcommon::INamedObject& object) {
    return {ObjectKindWord(object.GetNamedObjectType()),
            static_cast<long long>(object.GetIdentifier()), object.GetName(),
            CreationTypeNames().at(static_cast<std::size_t>(object.GetCreationType()))};
}

// The index gives the file's own word ("User"); the tool's are lower case.
std::string LowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

Candidate CandidateOf(const ObjectEntry& entry) {
    return {KindName(entry.key.kind), entry.key.id, entry.name,
            LowerCase(ToUtf8(entry.creationType))};
}

// An object as messages name it: ip 300101 "Backup", and its creation type
// after that when asked: ip 300101 "Backup" user.
std::string CandidateText(const Candidate& candidate, bool withCreationType = false) {
    std::string text =
        candidate.kind + " " + std::to_string(candidate.id) + " \"" + ToUtf8(candidate.name) + "\"";
    return withCreationType ? text + " " + candidate.creationType : text;
}

bool Wanted(const Candidate& candidate, const ObjectLocator& locator, const std::string& name) {
    if (!locator.type.empty() && candidate.kind != locator.type)
        return false;
    if (!locator.creationType.empty() && candidate.creationType != locator.creationType)
        return false;
    if (ById(locator))
        return candidate.id == locator.id;
    return ToUtf8(candidate.name) == name;
}

// True when the matches differ in what field reads of them.
template <typename Field>
bool Differ(const std::vector<Candidate>& matches, Field field) {
    for (const Candidate& match : matches) {
        if (field(match) != field(matches.front()))
            return true;
    }
    return false;
}

bool CreationTypesDiffer(const std::vector<Candidate>& matches) {
    return Differ(matches, [](const Candidate& c) { return c.creationType; });
}

// The options that tell the matches apart: --type when their kinds differ,
// the one of --name and --id not used when that differs, and
// --creation-type when only that does.
std::string Choices(const ObjectLocator& locator, const std::vector<Candidate>& matches) {
    const auto differ = [&matches](auto field) { return Differ(matches, field); };
    std::vector<std::string> options;
    if (locator.type.empty() && differ([](const Candidate& c) { return c.kind; }))
        options.push_back("--type");
    if (ById(locator) && differ([](const Candidate& c) { return c.name; }))
        options.push_back("--name");
    if (!ById(locator) && differ([](const Candidate& c) { return c.id; }))
        options.push_back("--id");
    if (options.empty() && locator.creationType.empty() && CreationTypesDiffer(matches))
        options.push_back("--creation-type");
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
        for (const std::size_t i : found)
            matches.push_back(candidates[i]);
        const bool withCreationType = CreationTypesDiffer(matches);
        std::string list;
        for (const Candidate& match : matches)
            list += (list.empty() ? "" : ", ") + CandidateText(match, withCreationType);
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
    verb.add_option("--creation-type", locator.creationType,
                    "Creation type of the object, when several match: generated, policy, user "
                    "or post")
        ->check(CLI::IsMember(CreationTypeNames()));
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
    std::string text =
        ById(locator) ? "with id " + std::to_string(locator.id) : "\"" + locator.name + "\"";
    if (!locator.type.empty())
        text += " of type " + locator.type;
    if (!locator.creationType.empty())
        text += " of creation type " + locator.creationType;
    return text;
}

std::string NamedObjectText(const fwcommon::INamedObject& object) {
    return CandidateText(CandidateOf(object));
}

}  // namespace fwpolicy
