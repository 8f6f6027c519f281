#include "OptionCommand.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <boost/any.hpp>

#include "CheckCommand.h"
#include "EditReport.h"
#include "OptionList.h"
#include "PolicyEdit.h"
#include "Utf8.h"

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

void SetOption(Context& context, const std::wstring& dataname, const OptionArguments& a) {
    const CreationType type = ChosenType(context, dataname, a, true);
    const bool existed = context.HasOption(dataname, type, FromUtf8(a.name));
    context.SetOptionValue(dataname, type, FromUtf8(a.name), boost::any(FromUtf8(a.value)));
    NoteEdit(std::string(existed ? "set option " : "added option ") + a.name + " (" +
             CreationTypeNames()[type] + ") to " + QuotedName(a.value));
}

void UnsetOption(Context& context, const std::wstring& dataname, const OptionArguments& a) {
    const CreationType type = ChosenType(context, dataname, a, false);
    if (!context.RemoveOption(dataname, type, FromUtf8(a.name)))
        throw EditError("no option \"" + a.name + "\" of creation type " + a.creationType);
    NoteEdit("removed option " + a.name + " (" + CreationTypeNames()[type] + ")");
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
