#pragma once

#include <optional>
#include <string>
#include <vector>

#include <fwcommon/DomainTypes.h>

namespace fwpolicy::textforms {

// A named object by its name: @Name, or @"Office LAN" for a name with
// blanks (\" and \\ stand for a quote and a backslash inside the quotes).
// Nothing when text does not begin with '@'; throws TextFormError for an
// empty name or bad quoting.
std::optional<std::string> ParseObjectReference(const std::string& text);

// The names of objects a user may mean by text, in the order to try them:
// text itself, then, when text is written as a reference (@Web,
// @"Office LAN"), the name it refers to. Never throws TextFormError.
std::vector<std::string> NamesMeantBy(const std::string& text);

// The text ParseObjectReference reads back to name (always quoted).
std::string RenderObjectReference(const std::string& name);

// The system object of that name ("AllClients", "InternetIP", ...; case
// matters), or nothing.
std::optional<fwcommon::SystemObjectTypes> SystemObjectOfName(const std::string& text);

// As SystemObjectOfName, but throws TextFormError naming the text (and the
// system object it resembles, when only the case differs).
fwcommon::SystemObjectTypes ParseSystemObjectName(const std::string& text);

// The system object name that equals text but for case, or nothing.
std::optional<std::string> SystemObjectNameLike(const std::string& text);

// The name of a system object, as the policy stores it.
std::string SystemObjectName(fwcommon::SystemObjectTypes type);

}  // namespace fwpolicy::textforms
