#include "render/EditReport.h"

#include <iostream>
#include <vector>

#include "terminal/Progress.h"
#include "terminal/SafeText.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

bool quiet = false;

std::vector<std::string>& Noted() {
    static std::vector<std::string> lines;
    return lines;
}

}  // namespace

void BeQuiet() {
    quiet = true;
    terminal::SetProgressShown(false);
}

void AddQuietFlag(CLI::App& verb) {
    verb.add_flag_callback("-q,--quiet", BeQuiet,
                           "Do not print the line that says what was done, nor progress");
}

void NoteEdit(const std::string& line) {
    Noted().push_back(line);
}

std::size_t NotedEdits() {
    return Noted().size();
}

void ReportEdit(const std::string& line) {
    if (!quiet)
        std::cout << terminal::Printable(line) << '\n';
}

void ReportEdits() {
    for (const std::string& line : Noted())
        ReportEdit(line);
    ForgetEdits();
}

void ForgetEdits() {
    Noted().clear();
}

std::string QuotedName(const std::string& utf8) {
    return "\"" + utf8 + "\"";
}

std::string QuotedName(const std::wstring& name) {
    return QuotedName(ToUtf8(name));
}

std::string RulePhrase(const std::string& section, const Sarvo::Rule& rule) {
    return section + " rule " + std::to_string(rule.RuleId()) + " " + QuotedName(rule.Name());
}

}  // namespace fwpolicy
