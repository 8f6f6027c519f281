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

bool Wanted(const fwcommon::INamedObject& object, const ObjectLocator& locator,
            const std::string& name) {
    if (!locator.type.empty() && ObjectKindWord(object.GetNamedObjectType()) != locator.type)
        return false;
    if (ById(locator))
        return static_cast<long long>(object.GetIdentifier()) == locator.id;
    return ToUtf8(object.GetName()) == name;
}

// The options that tell the matches apart: --type when their kinds differ,
// and the one of --name and --id not used when that differs.
std::string Choices(const ObjectLocator& locator,
                    const std::vector<std::shared_ptr<fwcommon::INamedObject>>& matches) {
    const auto differ = [&matches](auto field) {
        for (const auto& match : matches) {
            if (field(*match) != field(*matches.front()))
                return true;
        }
        return false;
    };
    std::vector<std::string> options;
    if (locator.type.empty() &&
        differ([](const fwcommon::INamedObject& o) { return o.GetNamedObjectType(); }))
        options.push_back("--type");
    if (ById(locator) && differ([](const fwcommon::INamedObject& o) { return o.GetName(); }))
        options.push_back("--name");
    if (!ById(locator) && differ([](const fwcommon::INamedObject& o) { return o.GetIdentifier(); }))
        options.push_back("--id");
    if (options.empty())
        return "; no option tells them apart";
    std::string text = "; choose one with " + options.front();
    for (std::size_t i = 1; i < options.size(); ++i)
        text += " or " + options[i];
    return text;
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
    std::vector<std::shared_ptr<fwcommon::INamedObject>> matches;
    const auto objects = context.GetNamedObjects(dataname);
    for (const std::string& name : textforms::NamesMeantBy(locator.name)) {
        for (const auto& object : *objects) {
            if (Wanted(*object, locator, name))
                matches.push_back(object);
        }
        if (!matches.empty() || ById(locator))
            break;
    }
    if (matches.empty())
        throw EditError("no named object " + Described(locator));
    if (matches.size() > 1) {
        std::string list;
        for (const auto& match : matches)
            list += (list.empty() ? "" : ", ") + NamedObjectText(*match);
        throw EditError("several named objects match " + Described(locator) + " (" + list + ")" +
                        Choices(locator, matches));
    }
    return matches.front();
}

std::string Described(const ObjectLocator& locator) {
    const std::string text =
        ById(locator) ? "with id " + std::to_string(locator.id) : "\"" + locator.name + "\"";
    return locator.type.empty() ? text : text + " of type " + locator.type;
}

std::string NamedObjectText(const fwcommon::INamedObject& object) {
    return ObjectKindWord(object.GetNamedObjectType()) + " " +
           std::to_string(object.GetIdentifier()) + " \"" + ToUtf8(object.GetName()) + "\"";
}

}  // namespace fwpolicy
