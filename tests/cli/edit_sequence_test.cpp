// A long random sequence of edits through fwpolicy, checked after each step
// against a model of what the policy must then hold: every rule where the
// edits put it, active or not as they left it, every option with its value,
// attributes and place.

#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/PolicyText.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;

constexpr int kEdits = 200;
constexpr int kSingleVerbEdits = 40;  // the rest run as scripts of kScriptLength lines
constexpr int kScriptLength = 10;
const std::vector<std::string> kSections = {"local", "vpn", "transit", "tunnel"};

struct ModelRule {
    std::string name;
    bool active = true;
    std::string services;  // checked for the rules the sequence adds
};

struct ModelOption {
    std::string name;
    std::string creationType;
    std::string value;
    nlohmann::json attributes;
};

// What the policy must hold.
struct Model {
    std::map<std::string, std::vector<ModelRule>> sections;
    std::vector<ModelOption> options;
};

Model Observed(const fs::path& file) {
    Model model;
    const ToolResult shown = RunFwpolicy({"show", file.string(), "--json"});
    EXPECT_EQ(0, shown.exitStatus) << shown.err;
    const nlohmann::json sections = nlohmann::json::parse(shown.out);
    for (const std::string& section : kSections) {
        for (const auto& row : sections.at(section)) {
            const auto& services = row.at("services");
            model.sections[section].push_back(
                {row.at("name").get<std::string>(), row.at("active").get<bool>(),
                 services.size() == 1 ? services[0].at("text").get<std::string>() : ""});
        }
    }
    const ToolResult listed = RunFwpolicy({"option", "list", file.string(), "--json"});
    EXPECT_EQ(0, listed.exitStatus) << listed.err;
    for (const auto& option : nlohmann::json::parse(listed.out)) {
        model.options.push_back({option.at("name").get<std::string>(),
                                 option.at("creationType").get<std::string>(),
                                 option.at("value").get<std::string>(), option.at("attributes")});
    }
    return model;
}

// Compares what the file holds with the model; the rules the sequence did
// not add keep the services they were generated with.
void ExpectHolds(const fs::path& file, const Model& expected, const std::string& step) {
    SCOPED_TRACE(step);
    const Model actual = Observed(file);
    for (const std::string& section : kSections) {
        const auto& want = expected.sections.at(section);
        const auto& got = actual.sections.at(section);
        ASSERT_EQ(want.size(), got.size()) << section;
        for (std::size_t i = 0; i < want.size(); ++i) {
            ASSERT_EQ(want[i].name, got[i].name) << section << " " << i;
            ASSERT_EQ(want[i].active, got[i].active) << section << " " << i;
            if (!want[i].services.empty()) {
                ASSERT_EQ(want[i].services, got[i].services) << section << " " << i;
            }
        }
    }
    ASSERT_EQ(expected.options.size(), actual.options.size());
    for (std::size_t i = 0; i < expected.options.size(); ++i) {
        ASSERT_EQ(expected.options[i].name, actual.options[i].name) << "option " << i;
        ASSERT_EQ(expected.options[i].value, actual.options[i].value) << "option " << i;
        ASSERT_EQ(expected.options[i].attributes, actual.options[i].attributes) << "option " << i;
    }
}

// Draws one edit, applies it to the model and returns its words (without
// "fwpolicy" and the file, as a script line takes them).
class EditDrawer {
public:
    explicit EditDrawer(Model& model) : model_(model) {}

    std::vector<std::string> Next() {
        const std::string section = kSections[Below(kSections.size())];
        std::vector<ModelRule>& rules = model_.sections[section];
        const int kind = static_cast<int>(Below(6));
        if (rules.size() < 2 || kind == 0)
            return Add(section, rules);
        const std::size_t index = Below(rules.size());
        switch (kind) {
            case 1:
                return Move(section, rules, index);
            case 2:
                rules[index].active = true;
                return Words({"rule", "enable", "--section", section, "--index", Text(index)});
            case 3:
                rules[index].active = false;
                return Words({"rule", "disable", "--section", section, "--index", Text(index)});
            case 4:
                rules.erase(rules.begin() + static_cast<std::ptrdiff_t>(index));
                return Words({"rule", "remove", "--section", section, "--index", Text(index)});
            default:
                return SetOption();
        }
    }

private:
    static std::vector<std::string> Words(std::vector<std::string> words) { return words; }
    static std::string Text(std::size_t n) { return std::to_string(n); }

    std::size_t Below(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
    }

    std::vector<std::string> Add(const std::string& section, std::vector<ModelRule>& rules) {
        const int n = ++added_;
        ModelRule rule{"Model rule " + std::to_string(n), Below(4) != 0,
                       "tcp/" + std::to_string(1000 + n)};
        const std::size_t position = Below(rules.size() + 1);
        std::vector<std::string> words = {
            "rule",    "add",       "--section",   section,    "--name",
            rule.name, "--service", rule.services, "--action", Below(2) ? "pass" : "drop"};
        if (position < rules.size() || Below(2) == 0) {
            words.push_back("--position");
            words.push_back(Text(position));
        }
        if (!rule.active)
            words.push_back("--disabled");
        rules.insert(rules.begin() + static_cast<std::ptrdiff_t>(position), rule);
        return words;
    }

    std::vector<std::string> Move(const std::string& section, std::vector<ModelRule>& rules,
                                  std::size_t index) {
        std::size_t to = Below(rules.size() - 1);
        if (to >= index)
            ++to;  // never where it is
        const ModelRule rule = rules[index];
        rules.erase(rules.begin() + static_cast<std::ptrdiff_t>(index));
        rules.insert(rules.begin() + static_cast<std::ptrdiff_t>(to), rule);
        const long long by = static_cast<long long>(to) - static_cast<long long>(index);
        return Words({"rule", "move", "--section", section, "--index", Text(index),
                      "--by=" + std::to_string(by)});
    }

    // An option of the file, or now and then a new one (added last, user).
    std::vector<std::string> SetOption() {
        const std::string value = "v" + std::to_string(Below(1000));
        if (model_.options.empty() || Below(5) == 0) {
            const std::string name = "ModelOption" + std::to_string(++options_);
            model_.options.push_back({name, "user", value, nlohmann::json::object()});
            return Words({"option", "set", name, value});
        }
        ModelOption& option = model_.options[Below(model_.options.size())];
        option.value = value;
        return Words({"option", "set", option.name, value, "--creation-type", option.creationType});
    }

    Model& model_;
    std::mt19937 random_{20261207};
    int added_ = 0;
    int options_ = 0;
};

std::string ScriptLine(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& word : words)
        line += (line.empty() ? "'" : " '") + word + "'";
    return line + "\n";
}

TEST(FwpolicyEditSequence, TwoHundredRandomEditsLeaveWhatAModelExpects) {
    const TempDir dir;
    const fs::path file =
        GeneratedPolicy(dir.path(), "policy.xml", "--rules 60 --options 6 --seed 21");
    Model model = Observed(file);
    ASSERT_FALSE(model.options.empty());
    EditDrawer drawer(model);
    int step = 0;
    for (; step < kSingleVerbEdits; ++step) {
        std::vector<std::string> words = drawer.Next();
        const std::string line = ScriptLine(words);
        words.insert(words.begin() + 2, file.string());
        const ToolResult edit = RunFwpolicy(words);
        ASSERT_EQ(0, edit.exitStatus) << line << edit.err;
        ExpectHolds(file, model, "step " + std::to_string(step) + ": " + line);
        if (HasFatalFailure())
            return;
    }
    while (step < kEdits) {
        std::string script;
        for (int line = 0; line < kScriptLength && step < kEdits; ++line, ++step)
            script += ScriptLine(drawer.Next());
        const ToolResult apply = RunFwpolicyWithInput({"apply", file.string()}, script);
        ASSERT_EQ(0, apply.exitStatus) << script << apply.err;
        ExpectHolds(file, model, "after step " + std::to_string(step) + ":\n" + script);
        if (HasFatalFailure())
            return;
    }
    EXPECT_EQ(std::vector<std::string>{"policy.xml"}, DirectoryEntries(dir.path()));
}

}  // namespace
}  // namespace fwcommon::test
