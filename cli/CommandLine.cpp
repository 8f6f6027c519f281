#include "CommandLine.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <regex>

#include "ExitStatus.h"
#include "terminal/SafeText.h"

#ifndef FWPOLICY_VERSION
#error "FWPOLICY_VERSION is set by the build"
#endif

namespace fwpolicy {
namespace {

// The schema version that the library writes into the documents it
// creates.
constexpr const char* kSchemaVersion = "1.0";

// Edits (optimal string alignment distance).
std::size_t Distance(const std::string& a, const std::string& b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

// A slip is at most two edits, and at most half the longer word.
bool CloseEnough(std::size_t distance, const std::string& word, const std::string& candidate) {
    constexpr std::size_t kMostEdits = 2;
    return distance <= kMostEdits && distance * 2 <= std::max(word.size(), candidate.size());
}

bool Begins(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

std::vector<std::string> VerbNames(const CLI::App& app) {
    std::vector<std::string> names;
    for (const CLI::App* verb : app.get_subcommands({}))
        names.push_back(verb->get_name());
    return names;
}

std::vector<std::string> OptionNames(const CLI::App& verb) {
    std::vector<std::string> names;
    for (const CLI::App* app = &verb; app != nullptr; app = app->get_parent()) {
        for (const CLI::Option* option : app->get_options()) {
            for (const std::string& name : option->get_lnames())
                names.push_back("--" + name);
            for (const std::string& name : option->get_snames())
                names.push_back("-" + name);
        }
    }
    return names;
}

std::string Quoted(const std::string& word) {
    return "'" + terminal::Printable(word) + "'";
}

std::string WithSuggestion(std::string message, const std::string& word,
                           const std::vector<std::string>& candidates) {
    if (const auto closest = ClosestMatch(word, candidates))
        message += "; did you mean " + Quoted(*closest) + "?";
    return message;
}

// " (see 'fwpolicy help rule add')": where the verb's usage is described.
std::string HelpHint(const CLI::App& verb) {
    const std::string path = VerbPath(verb);
    const std::size_t afterTool = path.find(' ');
    const std::string words = afterTool == std::string::npos ? "" : path.substr(afterTool);
    return " (see 'fwpolicy help" + words + "')";
}

// An argument that takes the next one as its value at the tool's level.
bool IsOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

}  // namespace

std::string HelpOf(const CLI::App& verb) {
    // App::help would describe the verb selected on this command line
    // ("help") rather than the one asked about.
    return verb.get_formatter()->make_help(&verb, VerbPath(verb), CLI::AppFormatMode::Normal);
}

std::optional<std::string> ClosestMatch(const std::string& word,
                                        const std::vector<std::string>& candidates) {
    std::optional<std::string> best;
    std::size_t bestDistance = 0;
    for (const std::string& candidate : candidates) {
        const std::size_t distance = Distance(word, candidate);
        if (!CloseEnough(distance, word, candidate))
            continue;
        // Of two as close, the one the word begins ("--ad": "--add", not "--id").
        const bool closer =
            !best || distance < bestDistance ||
            (distance == bestDistance && !Begins(*best, word) && Begins(candidate, word));
        if (closer) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

std::string VerbPath(const CLI::App& verb) {
    std::string path;
    for (const CLI::App* app = &verb; app != nullptr; app = app->get_parent())
        path = app->get_name() + (path.empty() ? "" : " " + path);
    return path;
}

// Whether the tool's option `arg` ("--max-size", not "--max-size=1G")
// takes the next argument as its value.
bool TakesNextArgument(const CLI::App& app, const std::string& arg) {
    if (arg.find('=') != std::string::npos)
        return false;
    const CLI::Option* option = app.get_option_no_throw(arg);
    return option != nullptr && option->get_items_expected_min() > 0;
}

std::optional<std::string> UnknownVerb(const CLI::App& app, const std::vector<std::string>& args) {
    const CLI::App* level = &app;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--")
            return std::nullopt;
        if (IsOption(arg) && level == &app) {
            const std::string name = arg.substr(0, arg.find('='));
            const std::vector<std::string> options = OptionNames(app);
            if (std::find(options.begin(), options.end(), name) == options.end())
                return WithSuggestion("unknown option " + Quoted(name), name, options);
            if (TakesNextArgument(app, arg))
                ++i;
            continue;
        }
        if (IsOption(arg))
            continue;
        const std::vector<std::string> verbs = VerbNames(*level);
        if (std::find(verbs.begin(), verbs.end(), arg) == verbs.end()) {
            return WithSuggestion(Quoted(arg) + " is not a " + VerbPath(*level) + " verb", arg,
                                  verbs);
        }
        level = level->get_subcommand(arg);
        if (level->get_subcommands({}).empty())
            return std::nullopt;  // the rest are the verb's own arguments
    }
    return std::nullopt;
}

namespace {

// The option an unknown option argument ("--jsn", "--sectoin=nat") was
// likely meant to be; none for a plain argument or nothing close.
std::optional<std::string> MeantOption(const CLI::App& verb, const std::string& arg) {
    if (!IsOption(arg))
        return std::nullopt;
    return ClosestMatch(arg.substr(0, arg.find('=')), OptionNames(verb));
}

}  // namespace

std::string UnexpectedArgumentsInWords(const CLI::App& verb,
                                       const std::vector<std::string>& extras) {
    const std::string& first = extras.front();
    if (!IsOption(first))
        return "unexpected argument " + Quoted(first);
    std::string message = "unknown option " + Quoted(first.substr(0, first.find('=')));
    if (const auto meant = MeantOption(verb, first))
        message += "; did you mean " + Quoted(*meant) + "?";
    return message;
}

std::string UnexpectedArguments(const CLI::App& verb, const std::vector<std::string>& extras) {
    const std::string words = UnexpectedArgumentsInWords(verb, extras);
    // A suggestion is the whole help; without one the user needs the list.
    return VerbPath(verb) + ": " + words +
           (MeantOption(verb, extras.front()) ? "" : HelpHint(verb));
}

const CLI::App& DeepestVerb(const CLI::App& app) {
    const CLI::App* verb = &app;
    while (!verb->get_subcommands().empty())
        verb = verb->get_subcommands().front();
    return *verb;
}

std::string InToolWords(const std::string& what) {
    // CLI11 calls verbs subcommands.
    if (what == "A subcommand is required")
        return "a verb is required";
    static const std::regex conversion("Could not convert: (\\S+) = (.*)");
    static const std::regex range("(\\S+): Value (.*) not in range (\\S+) to (\\S+)");
    static const std::regex member("(\\S+): (.*) not in \\{(.*)\\}");
    std::smatch m;
    if (std::regex_match(what, m, conversion))
        return m.str(1) + ": '" + m.str(2) + "' is not a number";
    if (std::regex_match(what, m, range))
        return m.str(1) + ": '" + m.str(2) + "' is not a number from " + m.str(3) + " to " +
               m.str(4);
    if (std::regex_match(what, m, member)) {
        std::string choices = m.str(3);
        for (std::size_t at = 0; (at = choices.find(',', at)) != std::string::npos; at += 2)
            choices.replace(at, 1, ", ");
        return m.str(1) + ": '" + m.str(2) + "' is not one of " + choices;
    }
    return what;
}

std::string UsageError(const CLI::App& verb, const std::string& what) {
    return VerbPath(verb) + ": " + terminal::Printable(InToolWords(what)) + HelpHint(verb);
}

void AddHelpCommand(CLI::App& app, int* status) {
    auto words = std::make_shared<std::vector<std::string>>();
    CLI::App* help = app.add_subcommand("help", "Describe the tool or one of its verbs");
    help->add_option("VERB", *words, "Verb, such as show or rule add");
    help->callback([&app, words, status] {
        if (const auto unknown = UnknownVerb(app, *words)) {
            std::cerr << "fwpolicy: " << *unknown << '\n';
            *status = kExitUsage;
            return;
        }
        const CLI::App* verb = &app;
        for (const std::string& word : *words)
            verb = verb->get_subcommand(word);
        std::cout << HelpOf(*verb);
        *status = kExitOk;
    });
}

void AddVersionFlag(CLI::App& app) {
    app.set_version_flag("--version", std::string("fwpolicy ") + FWPOLICY_VERSION +
                                          "\nfwcommon library " + FWPOLICY_VERSION +
                                          "\npolicy schema " + kSchemaVersion);
}

}  // namespace fwpolicy
