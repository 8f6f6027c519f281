#include "References.h"

#include <fwcommon/StringUtilities.h>
#include "TextFormError.h"
#include "TextScan.h"

namespace fwpolicy::textforms {
namespace {

TextFormError BadReference(const std::string& text, const std::string& why) {
    return TextFormError("bad object reference " + Quoted(text) + ": " + why);
}

std::string Unquoted(const std::string& whole, const std::string& quoted) {
    std::string name;
    for (std::size_t i = 1; i < quoted.size(); ++i) {
        const char c = quoted[i];
        if (c == '"') {
            if (i + 1 != quoted.size())
                throw BadReference(whole, "text follows the closing quote");
            return name;
        }
        if (c == '\\') {
            if (i + 1 == quoted.size() || (quoted[i + 1] != '"' && quoted[i + 1] != '\\'))
                throw BadReference(whole, "'\\' may only stand before '\"' or '\\'");
            ++i;
        }
        name.push_back(quoted[i]);
    }
    throw BadReference(whole, "the closing quote is missing");
}

std::string AsciiName(const std::wstring& wide) {
    return std::string(wide.begin(), wide.end());
}

}  // namespace

std::optional<std::string> ParseObjectReference(const std::string& text) {
    if (text.empty() || text[0] != '@')
        return std::nullopt;
    const std::string rest = text.substr(1);
    const std::string name = !rest.empty() && rest[0] == '"' ? Unquoted(text, rest) : rest;
    if (!rest.empty() && rest[0] != '"' && rest.find('"') != std::string::npos)
        throw BadReference(text, "a name with quotes is written @\"...\" with \\\" for each quote");
    if (name.empty())
        throw BadReference(text, "the object's name is missing");
    return name;
}

std::vector<std::string> NamesMeantBy(const std::string& text) {
    std::vector<std::string> names = {text};
    try {
        if (const auto referred = ParseObjectReference(text))
            names.push_back(*referred);
    } catch (const TextFormError&) {
        // Not written as a reference: the text is only a name.
    }
    return names;
}

std::string RenderObjectReference(const std::string& name) {
    std::string text = "@\"";
    for (const char c : name) {
        if (c == '"' || c == '\\')
            text.push_back('\\');
        text.push_back(c);
    }
    return text + "\"";
}

std::string SystemObjectName(fwcommon::SystemObjectTypes type) {
    return AsciiName(fwcommon::StringUtilities::GetSystemType(type));
}

std::optional<fwcommon::SystemObjectTypes> SystemObjectOfName(const std::string& text) {
    for (std::int32_t value = 0; value < fwcommon::kSystemObjectTypeCount; ++value) {
        const auto type = static_cast<fwcommon::SystemObjectTypes>(value);
        if (SystemObjectName(type) == text)
            return type;
    }
    return std::nullopt;
}

std::optional<std::string> SystemObjectNameLike(const std::string& text) {
    for (std::int32_t value = 0; value < fwcommon::kSystemObjectTypeCount; ++value) {
        const std::string name = SystemObjectName(static_cast<fwcommon::SystemObjectTypes>(value));
        if (AsciiLower(name) == AsciiLower(text))
            return name;
    }
    return std::nullopt;
}

fwcommon::SystemObjectTypes ParseSystemObjectName(const std::string& text) {
    if (const auto type = SystemObjectOfName(text))
        return *type;
    if (const auto name = SystemObjectNameLike(text))
        throw TextFormError("unknown system object " + Quoted(text) + " (did you mean " + *name +
                            "?)");
    throw TextFormError("unknown system object " + Quoted(text));
}

}  // namespace fwpolicy::textforms
