#include "policy/OptionList.h"

#include <iostream>
#include <memory>

#include <nlohmann/json.hpp>

#include "ExitStatus.h"
#include "fileio/PolicyFile.h"
#include "policy/CreationTypeNames.h"
#include "render/TextTable.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

struct ListArguments {
    std::string file;
    bool json = false;
};

std::string CreationTypeName(const Sarvo::Option& option) {
    return CreationTypeNames().at(static_cast<std::size_t>(option.CreationType()));
}

// name=value of every attribute the option carries, in schema order.
std::vector<std::pair<std::string, std::wstring>> Attributes(const Sarvo::Option& option) {
    std::vector<std::pair<std::string, std::wstring>> attributes;
    if (option.TargetApplication())
        attributes.emplace_back("TargetApplication", *option.TargetApplication());
    if (option.TargetPlatform())
        attributes.emplace_back("TargetPlatform", *option.TargetPlatform());
    if (option.Reserved())
        attributes.emplace_back("Reserved", *option.Reserved());
    return attributes;
}

void PrintOptionTable(const Sarvo::Options::Option_sequence& options) {
    std::vector<std::vector<std::wstring>> rows = {
        {L"NAME", L"CREATION TYPE", L"VALUE", L"ATTRIBUTES"}};
    for (const Sarvo::Option& option : options) {
        std::wstring attributes;
        for (const auto& [name, value] : Attributes(option))
            attributes +=
                (attributes.empty() ? L"" : L" ") + FromUtf8(name) + L"=\"" + value + L"\"";
        rows.push_back({option.Name(), FromUtf8(CreationTypeName(option)), option.Value()});
        if (!attributes.empty())  // a trailing empty cell would pad the line
            rows.back().push_back(attributes);
    }
    PrintTable(std::cout, rows);
}

void PrintOptionJson(const Sarvo::Options::Option_sequence& options) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const Sarvo::Option& option : options) {
        nlohmann::ordered_json entry = {{"name", ToUtf8(option.Name())},
                                        {"creationType", CreationTypeName(option)},
                                        {"value", ToUtf8(option.Value())}};
        nlohmann::ordered_json attributes = nlohmann::ordered_json::object();
        for (const auto& [name, value] : Attributes(option))
            attributes[name] = ToUtf8(value);
        entry["attributes"] = attributes;
        list.push_back(entry);
    }
    std::cout << list.dump(2) << '\n';
}

int ListOptions(const ListArguments& a) {
    const std::unique_ptr<Sarvo::PolicyType> policy = LoadPolicyFile(a.file);
    if (!policy)
        return kExitFailure;
    const Sarvo::Options::Option_sequence none;
    const auto& options = policy->Options() ? policy->Options()->Option() : none;
    if (a.json)
        PrintOptionJson(options);
    else if (options.empty())
        std::cout << "  no options\n";
    else
        PrintOptionTable(options);
    return kExitOk;
}

}  // namespace

void AddOptionListVerb(CLI::App& option, int* status) {
    auto a = std::make_shared<ListArguments>();
    CLI::App* list = option.add_subcommand("list", "List every option of the policy");
    list->add_option("FILE", a->file, "Policy file")->required();
    list->add_flag("--json", a->json, "Print the options as JSON");
    list->callback([a, status] { *status = ListOptions(*a); });
}

}  // namespace fwpolicy
