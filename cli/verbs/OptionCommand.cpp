#include "verbs/OptionCommand.h"

#include <algorithm>
#include <cstddef>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <boost/any.hpp>

#include "ExitStatus.h"
#include "editor/DocumentFrame.h"
#include "editor/DocumentTouches.h"
#include "editor/PolicyEdit.h"
#include "policy/CreationTypeNames.h"
#include "policy/OptionList.h"
#include "render/EditReport.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

using fwcommon::Context;
using fwcommon::CreationType;

struct OptionArguments {
    EditTarget target;
    std::string name;
    std::string value;
    std::string creationType;
};

CreationType CreationTypeOf(const std::string& name) {
    for (std::size_t i = 0; i < CreationTypeNames().size(); ++i) {
        if (CreationTypeNames()[i] == name)
            return static_cast<CreationType>(i);
    }
    throw EditError("unknown creation type '" + name + "'");
}

// The creation types under which the document holds the option.
std::vector<CreationType> Holders(Context& context, const std::wstring& dataname,
                                  const std::string& name) {
    std::vector<CreationType> holders;
    for (std::size_t i = 0; i < CreationTypeNames().size(); ++i) {
        const auto type = static_cast<CreationType>(i);
        if (context.HasOption(dataname, type, FromUtf8(name)))
            holders.push_back(type);
    }
    return holders;
}

// The creation type the command means; fallback when no type holds it.
CreationType ChosenType(Context& context, const std::wstring& dataname, const OptionArguments& a,
                        bool mayBeNew) {
    if (!a.creationType.empty())
        return CreationTypeOf(a.creationType);
    const std::vector<CreationType> holders = Holders(context, dataname, a.name);
    if (holders.size() > 1) {
        std::string list;
        for (CreationType type : holders)
            list += (list.empty() ? "" : ", ") + CreationTypeNames()[type];
        throw EditError("option \"" + a.name + "\" is held under several creation types (" + list +
                        "); choose one with --creation-type");
    }
    if (holders.empty() && !mayBeNew)
        throw EditError("no option \"" + a.name + "\"");
    return holders.empty() ? fwcommon::User : holders.front();
}

void PrintOption(Context& context, const std::wstring& dataname, const OptionArguments& a) {
    const CreationType type = ChosenType(context, dataname, a, false);
    if (!context.HasOption(dataname, type, FromUtf8(a.name)))
        throw EditError("no option \"" + a.name + "\" of creation type " + a.creationType);
    const boost::any value = context.GetOptionValue(dataname, type, FromUtf8(a.name));
    std::cout << ToUtf8(boost::any_cast<std::wstring>(value)) << '\n';
}

std::string TouchKey(const std::string& name, CreationType type) {
    return "option " + std::to_string(static_cast<int>(type)) + " " + name;
}

bool IsOption(const Sarvo::Option& option, const std::wstring& name, CreationType type) {
    return option.Name() == name &&
           static_cast<int>(option.CreationType()) == static_cast<int>(type);
}

// Puts the option that setting its value wrote anew (the last one of its
// name and creation type) back where the old one stood, with the old one's
// attributes.
void RestorePlace(Sarvo::PolicyType& policy, const Sarvo::Option& old, std::size_t index) {
    if (!policy.Options())
        return;
    auto& options = policy.Options()->Option();
    const auto type = static_cast<CreationType>(static_cast<int>(old.CreationType()));
    for (auto it = options.end(); it != options.begin();) {
        --it;
        if (!IsOption(*it, old.Name(), type))
            continue;
        Sarvo::Option restored = *it;
        restored.TargetApplication(old.TargetApplication());
        restored.TargetPlatform(old.TargetPlatform());
        restored.Reserved(old.Reserved());
        options.erase(it);
        options.insert(
            options.begin() + static_cast<std::ptrdiff_t>(std::min(index, options.size())),
            restored);
        return;
    }
}

// Registers the touch that keeps the option's place and attributes; the
// document as the Context holds it now tells where the option stands.
void KeepPlaceOf(Context& context, const std::wstring& dataname, const OptionArguments& a,
                 CreationType type) {
    const std::string key = TouchKey(a.name, type);
    if (HasDocumentTouch(key) || !context.HasOption(dataname, type, FromUtf8(a.name)))
        return;
    std::vector<unsigned char> bytes;
    context.GetXmlData(dataname, bytes);
    const auto policy = ParseFrame(bytes).policy;
    if (!policy->Options())
        return;
    const auto& options = policy->Options()->Option();
    for (std::size_t index = 0; index < options.size(); ++index) {
        if (IsOption(options[index], FromUtf8(a.name), type)) {
            const Sarvo::Option old = options[index];
            AddDocumentTouch(key, [old, index](Sarvo::PolicyType& written) {
                RestorePlace(written, old, index);
            });
            return;
        }
    }
}

void SetOption(Context& context, const std::wstring& dataname, const OptionArguments& a) {
    if (a.name.empty())
        throw EditError("an option needs a non-empty name");
    const CreationType type = ChosenType(context, dataname, a, true);
    KeepPlaceOf(context, dataname, a, type);
    const bool existed = context.HasOption(dataname, type, FromUtf8(a.name));
    context.SetOptionValue(dataname, type, FromUtf8(a.name), boost::any(FromUtf8(a.value)));
    NoteEdit(std::string(existed ? "set option " : "added option ") + QuotedName(a.name) + " (" +
             CreationTypeNames()[type] + (existed ? ") to " : ") with value ") +
             QuotedName(a.value));
}

void UnsetOption(Context& context, const std::wstring& dataname, const OptionArguments& a) {
    const CreationType type = ChosenType(context, dataname, a, false);
    DropDocumentTouch(TouchKey(a.name, type));
    if (!context.RemoveOption(dataname, type, FromUtf8(a.name)))
        throw EditError("no option \"" + a.name + "\" of creation type " + a.creationType);
    NoteEdit("removed option " + QuotedName(a.name) + " (" + CreationTypeNames()[type] + ")");
}

void AddCommon(CLI::App& verb, OptionArguments& a) {
    verb.add_option("NAME", a.name, "Option name")->required();
    verb.add_option("--creation-type", a.creationType,
                    "Creation type of the option: generated, policy, user or post")
        ->check(CLI::IsMember(CreationTypeNames()));
}

void AddGetVerb(CLI::App& option, int* status) {
    auto a = std::make_shared<OptionArguments>();
    CLI::App* get = option.add_subcommand("get", "Print the value of an option");
    get->add_option("FILE", a->target.file, "Policy file")->required();
    AddCommon(*get, *a);
    get->callback([a, status] {
        // Reading runs the same load as an edit, with the result printed
        // instead of written.
        *status = ReadThroughContext(
            a->target.file, [a](Context& c, const std::wstring& d) { PrintOption(c, d, *a); });
    });
}

void AddSetVerb(CLI::App& option, int* status) {
    auto a = std::make_shared<OptionArguments>();
    CLI::App* set = option.add_subcommand("set", "Set the value of an option");
    AddEditTarget(*set, a->target);
    AddCommon(*set, *a);
    set->add_option("VALUE", a->value, "New value")->required();
    set->callback([a, status] {
        *status =
            RunEdit(a->target, [a](Context& c, const std::wstring& d) { SetOption(c, d, *a); });
    });
}

void AddUnsetVerb(CLI::App& option, int* status) {
    auto a = std::make_shared<OptionArguments>();
    CLI::App* unset = option.add_subcommand("unset", "Remove an option from the policy");
    AddEditTarget(*unset, a->target);
    AddCommon(*unset, *a);
    unset->callback([a, status] {
        *status =
            RunEdit(a->target, [a](Context& c, const std::wstring& d) { UnsetOption(c, d, *a); });
    });
}

}  // namespace

void AddOptionCommand(CLI::App& app, int* status) {
    CLI::App* option = app.add_subcommand("option", "Read or change a policy option");
    option->require_subcommand(1);
    AddGetVerb(*option, status);
    AddSetVerb(*option, status);
    AddUnsetVerb(*option, status);
    AddOptionListVerb(*option, status);
}

}  // namespace fwpolicy
