#include <fwcommon/Context.h>

#include <stdexcept>

#include <fwcommon/StringUtilities.h>
#include "context/DocumentTextCheck.h"
#include "context/RegistryEntryParts.h"
#include "store/XmlReader.h"

namespace fwcommon {

bool Context::HasOption(const std::wstring& dataname, CreationType creationType,
                        const std::wstring& name) const {
    const auto entry = find(dataname);
    if (entry == registry_.end() || !DataOf(*entry).reader) {
        return false;
    }
    return DataOf(*entry).reader->HasOption(name, creationType);
}

boost::any Context::GetOptionValue(const std::wstring& dataname, CreationType creationType,
                                   const std::wstring& name) const {
    const auto& reader = DataOf(CheckedEntry("fwcommon::Context::GetOptionValue", dataname)).reader;
    if (!reader) {
        return boost::any();
    }
    return reader->GetOptionValue(name, creationType);
}

void Context::SetOptionValue(const std::wstring& dataname, CreationType creationType,
                             const std::wstring& name, boost::any value) {
    const char* function = "fwcommon::Context::SetOptionValue";
    const auto& reader = DataOf(CheckedEntry(function, dataname)).reader;
    if (!reader) {
        throw std::runtime_error(
            StringUtilities::GetErrorString(function, std::string("No document")));
    }
    RequireDocumentText(function, "option name", name);
    if (const auto* text = boost::any_cast<std::wstring>(&value)) {
        RequireDocumentText(function, "option value", *text);
    }
    reader->SetOptionValue(name, value, creationType);
    MarkDomainObjectAsModified(dataname, static_cast<DomainObjectType>(kOptionFamily), creationType,
                               kOptionIdentifier);
}

bool Context::RemoveOption(const std::wstring& dataname, CreationType creationType,
                           const std::wstring& name) {
    const char* function = "fwcommon::Context::RemoveOption";
    const auto& reader = DataOf(CheckedEntry(function, dataname)).reader;
    if (!reader) {
        throw std::runtime_error(
            StringUtilities::GetErrorString(function, std::string("No document")));
    }
    if (!reader->RemoveOption(name, creationType)) {
        return false;
    }
    MarkDomainObjectAsModified(dataname, static_cast<DomainObjectType>(kOptionFamily), creationType,
                               kOptionIdentifier);
    return true;
}

std::vector<std::wstring> Context::GetOptionNames(const std::wstring& dataname) const {
    const auto& reader = DataOf(CheckedEntry("fwcommon::Context::GetOptionNames", dataname)).reader;
    return reader ? reader->GetOptionNames() : std::vector<std::wstring>();
}

}  // namespace fwcommon
