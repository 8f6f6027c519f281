// Options, properties and the document as bytes.

#include <ctime>

#include <fwcommon/PolicyDocument.h>
#include "store/UtcTime.h"
#include "store/XmlReader.h"

namespace fwcommon {
namespace {

bool Matches(const Sarvo::Option& option, const std::wstring& name, CreationType creationType) {
    return option.Name() == name && static_cast<int>(option.CreationType()) == creationType;
}

const Sarvo::Option* FindOption(const Sarvo::PolicyType& policy, const std::wstring& name,
                                CreationType creationType) {
    if (!policy.Options()) {
        return nullptr;
    }
    for (const Sarvo::Option& option : policy.Options()->Option()) {
        if (Matches(option, name, creationType)) {
            return &option;
        }
    }
    return nullptr;
}

}  // namespace

void XmlReader::EnsureOptionsParsed() {
    if (optionsParsed_) {
        return;
    }
    optionNames_.clear();
    if (Live().Options()) {
        for (const Sarvo::Option& option : Live().Options()->Option()) {
            optionNames_.push_back(option.Name());
        }
    }
    optionsParsed_ = true;
}

bool XmlReader::HasOption(const std::wstring& name, CreationType creationType) {
    EnsureOptionsParsed();
    return FindOption(Live(), name, creationType) != nullptr;
}

boost::any XmlReader::GetOptionValue(const std::wstring& name, CreationType creationType) {
    EnsureOptionsParsed();
    const Sarvo::Option* option = FindOption(Live(), name, creationType);
    return option ? boost::any(std::wstring(option->Value())) : boost::any();
}

std::vector<std::wstring> XmlReader::GetOptionNames() {
    EnsureOptionsParsed();
    return optionNames_;
}

void XmlReader::SetOptionValue(const std::wstring& name, const boost::any& value,
                               CreationType creationType) {
    EnsureOptionsParsed();
    // Checked before anything changes, so a value of the wrong type leaves
    // the document as it was.
    const std::wstring text = boost::any_cast<std::wstring>(value);

    Sarvo::PolicyType& live = MutableLive();
    if (!live.Options()) {
        live.Options(Sarvo::Options());
    }
    auto& options = live.Options()->Option();
    for (auto it = options.begin(); it != options.end(); ++it) {
        if (Matches(*it, name, creationType)) {
            options.erase(it);
            break;
        }
    }
    options.push_back(Sarvo::Option(name, text,
                                    Sarvo::CreationTypes(static_cast<Sarvo::CreationTypes::value>(
                                        static_cast<int>(creationType)))));
    optionsChanged_ = true;
    optionsParsed_ = false;
}

bool XmlReader::RemoveOption(const std::wstring& name, CreationType creationType) {
    EnsureOptionsParsed();
    if (!FindOption(Live(), name, creationType)) {
        return false;
    }
    auto& options = MutableLive().Options()->Option();
    for (auto it = options.begin(); it != options.end(); ++it) {
        if (Matches(*it, name, creationType)) {
            options.erase(it);
            break;
        }
    }
    optionsChanged_ = true;
    optionsParsed_ = false;
    return true;
}

void XmlReader::SetApplicationProperties(std::int64_t time, std::int32_t period) {
    const std::time_t when = time == 0 ? std::time(nullptr) : static_cast<std::time_t>(time);
    Sarvo::Properties& properties = MutableLive().Properties();
    properties.ApplicationDateTime(UtcDateTime(when));
    properties.RollbackPeriod(period);
}

}  // namespace fwcommon
