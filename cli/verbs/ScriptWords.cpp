#include "verbs/ScriptWords.h"

namespace fwpolicy {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// Reads a quoted part starting after its opening quote; returns the index
// after the closing quote.
std::size_t ReadQuoted(const std::string& line, std::size_t i, char quote, std::string& word) {
    for (; i < line.size(); ++i) {
        const char c = line[i];
        if (c == quote)
            return i + 1;
        if (quote == '"' && c == '\\' && i + 1 < line.size() &&
            (line[i + 1] == '"' || line[i + 1] == '\\')) {
            word += line[++i];
            continue;
        }
        word += c;
    }
    throw ScriptSyntaxError(std::string("the quote ") + quote + " is not closed");
}

}  // namespace

std::vector<std::string> SplitScriptLine(const std::string& line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (IsBlank(line[i])) {
            ++i;
            continue;
        }
        if (line[i] == '#')
            break;
        std::string word;
        while (i < line.size() && !IsBlank(line[i])) {
            const char c = line[i];
            if (c == '\'' || c == '"') {
                i = ReadQuoted(line, i + 1, c, word);
            } else if (c == '\\') {
                if (i + 1 == line.size())
                    throw ScriptSyntaxError("the line ends in a backslash");
                word += line[i + 1];
                i += 2;
            } else {
                word += c;
                ++i;
            }
        }
        words.push_back(word);
    }
    return words;
}

}  // namespace fwpolicy
