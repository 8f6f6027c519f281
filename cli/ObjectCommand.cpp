#include "ObjectCommand.h"

#include <memory>
#include <string>
#include <vector>

#include <fwcommon/INamedObject.h>
#include <fwcommon/PolicyDocument.h>
#include "PolicyEdit.h"
#include "PolicyIndex.h"
#include "Utf8.h"

namespace fwpolicy {
namespace {

using fwcommon::Context;
using fwcommon::INamedObject;

struct ObjectArguments {
    EditTarget target;
    std::string name;
    std::string type;
};

ObjectKind KindOf(fwcommon::NamedObjectType type) {
    switch (type) {
        case fwcommon::eInterfaceObject:
            return ObjectKind::kInterface;
        case fwcommon::eIpAddressObject:
            return ObjectKind::kIp;
        case fwcommon::eServiceObject:
            return ObjectKind::kService;
        case fwcommon::eScheduleObject:
            return ObjectKind::kSchedule;
        case fwcommon::eSarvoGroupObject:
            return ObjectKind::kVpn;
    }
    throw EditError("named object of unknown type " + std::to_string(type));
}

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

// Refuses when another object of the document refers to the one named.
void CheckNotIncluded(Context& context, const std::wstring& dataname, ObjectKind kind,
                      const std::string& name) {
    std::vector<unsigned char> bytes;
    context.GetXmlData(dataname, bytes);
    const PolicyIndex index =
        IndexPolicy(*fwcommon::ParsePolicyDocument(bytes), *fwcommon::GetXmlWrapper());
    for (const ObjectEntry& object : index.objects) {
        if (object.key.kind != kind || object.name != FromUtf8(name))
            continue;
        for (const ObjectEntry* other : DependentObjects(index, object.key)) {
            for (const ObjectKey& ref : other->refers) {
                if (ref == object.key) {
                    throw EditError("named object \"" + name + "\" is part of " +
                                    KindName(other->key.kind) + " object \"" + ToUtf8(other->name) +
                                    "\"; take it out of there first");
                }
            }
        }
    }
}

void RemoveObject(Context& context, const std::wstring& dataname, const ObjectArguments& a) {
    const auto object = FindObject(context, dataname, a);
    CheckNotIncluded(context, dataname, KindOf(object->GetNamedObjectType()), a.name);
    if (!context.RemoveNamedObject(dataname, object->GetCreationType(), FromUtf8(a.name)))
        throw EditError("the named object \"" + a.name + "\" could not be removed");
}

}  // namespace

void AddObjectCommand(CLI::App& app, int* status) {
    CLI::App* object = app.add_subcommand("object", "Remove a named object");
    object->require_subcommand(1);
    auto a = std::make_shared<ObjectArguments>();
    CLI::App* remove = object->add_subcommand(
        "remove", "Remove a named object and every reference to it from the rules");
    AddEditTarget(*remove, a->target);
    remove->add_option("--name", a->name, "Name of the named object")->required();
    remove->add_option("--type", a->type, "Kind of the object, when several share the name")
        ->check(CLI::IsMember(KindNames()));
    remove->callback([a, status] {
        *status =
            RunEdit(a->target, [a](Context& c, const std::wstring& d) { RemoveObject(c, d, *a); });
    });
}

}  // namespace fwpolicy
