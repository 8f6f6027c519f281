#include <fwcommon/Context.h>

#include <algorithm>
#include <stdexcept>

#include <fwcommon/INamedObject.h>
#include <fwcommon/IRule.h>
#include <fwcommon/IdentifierRanges.h>
#include <fwcommon/LogFacility.h>
#include <fwcommon/StringUtilities.h>
#include "context/DatanameCheck.h"
#include "context/PrivateObjectListener.h"
#include "context/RegistryEntryParts.h"
#include "domain/NamedObjectNumbers.h"
#include "store/XmlReader.h"

namespace fwcommon {

const std::wstring Context::NamedObjectsDataname = L"NamedObjects.xml";

namespace {

std::shared_ptr<GeneratorRegistry> MakeGenerators() {
    auto generators = std::make_shared<GeneratorRegistry>();
    for (CreationType creationType : {Generated, Policy, User, Post}) {
        const IdentifierRange range = IdentifierRangeOf(creationType);
        (*generators)[creationType] =
            std::make_shared<IdentifierGenerator>(range.first, range.last);
    }
    return generators;
}

// "'dataname': Append XML, modes: (k,m) ...", the listing ending after the
// first editable mode.
std::wstring AppendLogText(const std::wstring& dataname, const Context::ModesMap& modes) {
    std::wstring text = L"'" + dataname + L"': Append XML";
    if (modes.empty()) {
        return text;
    }
    text += L", modes: ";
    for (const auto& mode : modes) {
        text += L"(" + std::to_wstring(mode.first) + L"," + std::to_wstring(mode.second) + L") ";
        if (mode.second == Context::Modes::eEditable) {
            break;
        }
    }
    return text;
}

void AddDataname(Context::InternalNamedObject& record, const std::wstring& dataname) {
    if (std::find(record.datanames.begin(), record.datanames.end(), dataname) ==
        record.datanames.end()) {
        record.datanames.push_back(dataname);
    }
}

// Logs the miss of GetDataname; the result is always "".
std::wstring NotFound() {
    CheckDataname("fwcommon::Context::GetDataname", std::wstring(), nullptr, false);
    return std::wstring();
}

}  // namespace

Context::Context(const std::wstring& namedObjectsDataname, ExternalContextFunction externalContext)
    : externalContext_(std::move(externalContext)),
      namedObjectsDataname_(namedObjectsDataname),
      listener_(std::make_shared<PrivateObjectListener>(*this)) {
    generators_ = MakeGenerators();
}

Context::~Context() {
    for (auto& entry : registry_) {
        for (auto& record : DataOf(entry).namedObjects) {
            listener_->DetachFrom(*record->object);
        }
    }
    for (const auto& dataname : GetDatanames()) {
        RemoveXmlReader(dataname);
    }
    listener_->Detach();
}

Context::Registry::iterator Context::find(const std::wstring& dataname) {
    return std::find_if(registry_.begin(), registry_.end(),
                        [&](const RegistryEntry& entry) { return entry.first == dataname; });
}

Context::Registry::const_iterator Context::find(const std::wstring& dataname) const {
    return std::find_if(registry_.begin(), registry_.end(),
                        [&](const RegistryEntry& entry) { return entry.first == dataname; });
}

Context::RegistryEntry& Context::CheckedEntry(const char* function, const std::wstring& dataname) {
    CheckDataname(function, dataname, &registry_, true);
    return *find(dataname);
}

const Context::RegistryEntry& Context::CheckedEntry(const char* function,
                                                    const std::wstring& dataname) const {
    CheckDataname(function, dataname, &registry_, true);
    return *find(dataname);
}

void Context::AppendXmlReader(const std::wstring& dataname, const std::vector<unsigned char>& bytes,
                              CreationType creationType, const ModesMap& modes,
                              const std::wstring& name) {
    AppendEntry("fwcommon::Context::AppendXmlReader", dataname, creationType, modes, name, [&] {
        return std::make_shared<XmlReader>(bytes, creationType, dataname, schemaPath_, generators_);
    });
}

void Context::AppendParsedDocument(const std::wstring& dataname,
                                   std::unique_ptr<Sarvo::PolicyType> document,
                                   CreationType creationType, const ModesMap& modes,
                                   const std::wstring& name) {
    if (!document) {
        throw std::invalid_argument("fwcommon::Context::AppendParsedDocument.Empty document");
    }
    AppendEntry("fwcommon::Context::AppendParsedDocument", dataname, creationType, modes, name,
                [&] {
                    return std::make_shared<XmlReader>(std::move(document), creationType, dataname,
                                                       generators_);
                });
}

void Context::AppendEntry(const char* function, const std::wstring& dataname,
                          CreationType creationType, const ModesMap& modes,
                          const std::wstring& name,
                          const boost::function<std::shared_ptr<XmlReader>()>& makeReader) {
    const std::wstring logText = AppendLogText(dataname, modes);
    CheckDataname(function, dataname, nullptr, true);

    Data data;
    data.name = name.empty() ? dataname : name;
    data.creationType = creationType;
    registry_.emplace_back(dataname, std::make_pair(std::move(data), modes));
    GetLibLogFacility().Log(logText, kLogRoutine);

    // The entry stays registered without a store when the document fails.
    const std::size_t position = registry_.size() - 1;
    auto reader = makeReader();
    DataOf(registry_[position]).reader = reader;

    EnsureNamedObjectNumbers(internalNumberBase_);
    RecordNamedObjects(registry_[position]);
}

void Context::RecordNamedObjects(RegistryEntry& entry) {
    Data& data = DataOf(entry);
    if (!data.namedObjects.empty()) {
        return;
    }
    NamedObjectRecords records;
    for (const auto& object : data.reader->GetNamedObjects()) {
        object->AddListener(listener_->ListenerFor(*object));
        auto record = std::make_shared<InternalNamedObject>();
        record->object = object;
        AddDataname(*record, entry.first);
        records.push_back(std::move(record));
    }
    data.namedObjects = std::move(records);
}

void Context::RemoveXmlReader(const std::wstring& dataname) {
    GetLibLogFacility().Log(L"Remove XML with dataname '" + dataname + L"'", kLogRoutine);
    const auto entry = find(dataname);
    if (entry == registry_.end()) {
        return;
    }
    for (auto& record : DataOf(*entry).namedObjects) {
        auto& names = record->datanames;
        names.erase(std::remove(names.begin(), names.end(), dataname), names.end());
    }
    registry_.erase(entry);
}

void Context::GetXmlData(const std::wstring& dataname, std::vector<unsigned char>& out) {
    const char* function = "fwcommon::Context::GetXmlData";
    const auto& reader = DataOf(CheckedEntry(function, dataname)).reader;
    if (!reader) {
        throw std::runtime_error(StringUtilities::GetErrorString(function, "No document"));
    }
    reader->GetXmlData(out);
}

std::shared_ptr<XmlReader> Context::GetXmlReader(const std::wstring& dataname) const {
    const auto entry = find(dataname);
    return entry == registry_.end() ? std::shared_ptr<XmlReader>() : DataOf(*entry).reader;
}

std::vector<std::wstring> Context::GetDatanames() const {
    std::vector<std::wstring> datanames;
    datanames.reserve(registry_.size());
    for (const auto& entry : registry_) {
        datanames.push_back(entry.first);
    }
    return datanames;
}

std::wstring Context::GetDatanameName(const std::wstring& dataname) const {
    const auto entry = find(dataname);
    return entry == registry_.end() ? dataname : DataOf(*entry).name;
}

std::wstring Context::GetDataname(const std::shared_ptr<IRule>& rule) const {
    if (!rule) {
        return NotFound();
    }
    const IdentifierWithType wanted = GetDomainObject(rule);
    for (const auto& entry : registry_) {
        const auto& reader = DataOf(entry).reader;
        if (!reader) {
            continue;
        }
        const auto rules = reader->GetRules(GetRuleType(rule->GetXmlRule()));
        for (const auto& candidate : *rules) {
            if (GetDomainObject(candidate) == wanted) {
                return entry.first;
            }
        }
    }
    return NotFound();
}

std::wstring Context::GetDataname(const std::shared_ptr<INamedObject>& object) const {
    if (!object) {
        return NotFound();
    }
    const IdentifierWithType wanted = GetDomainObject(object);
    for (const auto& entry : registry_) {
        for (const auto& record : DataOf(entry).namedObjects) {
            if (GetDomainObject(record->object) == wanted) {
                return entry.first;
            }
        }
    }
    return NotFound();
}

std::shared_ptr<Context> Context::GetExternalContext() const {
    if (!externalContext_) {
        return std::shared_ptr<Context>();
    }
    return externalContext_();
}

void Context::SetSchemaPath(const std::wstring& schemaPath) {
    schemaPath_ = schemaPath;
}

}  // namespace fwcommon
