#pragma once

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <fwcommon/Context.h>
#include <fwcommon/IDomainObject.h>
#include <fwcommon/LogFacility.h>
#include <fwcommon/PolicyDocument.h>
#include "store/StoreTestSupport.h"

namespace fwcommon::test {

// A finished log line as the library's facility writes it: level
// character, blank, component name, blank, message.
inline std::wstring LogLine(int level, const std::wstring& message) {
    return std::wstring(1, ilogdispfacade::ILogDispFacade::LevelCharacter(level)) + L" " +
           GetLibLogFacility().GetComponentName() + L" " + message;
}

// "(section,state)" of a pending change, "none" without one.
inline std::string Text(const Context::Change& change) {
    if (!change) {
        return "none";
    }
    return "(" + std::to_string(change->first) + "," + std::to_string(change->second) + ")";
}

// The captured lines of one level.
inline std::vector<std::wstring> LinesOfLevel(const CapturedLog& log, int level) {
    std::vector<std::wstring> lines;
    for (const auto& line : log.Lines()) {
        if (ilogdispfacade::ILogDispSink::LevelOfLine(line.c_str()) == level) {
            lines.push_back(line);
        }
    }
    return lines;
}

// The captured lines the Context wrote itself (the stores' own lines,
// "'XmlReader:...", left out).
inline std::vector<std::wstring> ContextLines(const CapturedLog& log) {
    std::vector<std::wstring> lines;
    for (const auto& line : log.Lines()) {
        if (line.find(L"'XmlReader:") == std::wstring::npos) {
            lines.push_back(line);
        }
    }
    return lines;
}

// Editing modes with every rule section editable.
inline Context::ModesMap AllRulesEditable() {
    Context::ModesMap modes;
    for (int type = eVPNRules; type <= eTransitRules; ++type) {
        modes[type] = Context::Modes::eEditable;
    }
    return modes;
}

// Editing modes with every rule section and named-object kind editable.
inline Context::ModesMap EverythingEditable() {
    Context::ModesMap modes = AllRulesEditable();
    for (int type = eInterfaceObject; type <= eSarvoGroupObject; ++type) {
        modes[type] = Context::Modes::eEditable;
    }
    return modes;
}

// What the Context writes of a document.
inline std::string Written(Context& context, const std::wstring& dataname) {
    std::vector<unsigned char> bytes;
    context.GetXmlData(dataname, bytes);
    return ToString(bytes);
}

// Records what the change signals of a Context carry.
struct SignalLog {
    using Change = std::tuple<std::wstring, DomainObjectType, CreationType, unsigned long>;

    explicit SignalLog(Context& context) {
        context.objectAdded.connect(
            [this](const std::wstring& dataname, const std::shared_ptr<IDomainObject>& object) {
                added.emplace_back(dataname, object);
            });
        context.objectModified.connect(
            [this](const std::wstring& dataname, DomainObjectType type, CreationType creationType,
                   unsigned long id) { modified.emplace_back(dataname, type, creationType, id); });
        context.objectRemoved.connect(
            [this](const std::wstring& dataname, DomainObjectType type, CreationType creationType,
                   unsigned long id) { removed.emplace_back(dataname, type, creationType, id); });
    }

    std::vector<std::pair<std::wstring, std::shared_ptr<IDomainObject>>> added;
    std::vector<Change> modified;
    std::vector<Change> removed;
};

}  // namespace fwcommon::test
