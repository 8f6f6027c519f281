#include <fwcommon/ProtocolDictionary.h>

#include <map>
#include <mutex>
#include <shared_mutex>
#include <utility>

#include "support/DictionaryFile.h"

namespace fwcommon {

struct ProtocolDictionary::Impl {
    std::shared_mutex lock;
    const std::wstring empty;
    std::map<int, std::pair<std::wstring, std::wstring>> protocols;  // name, description

    void ReadLine(const std::wstring& line) {
        auto fields = dictionary::SplitLine(line);
        if (!fields) {
            return;
        }
        const int number = dictionary::ToNumber(fields->first);
        protocols.emplace(number, std::make_pair(fields->second, fields->third));
    }
};

ProtocolDictionary::ProtocolDictionary() : impl_(std::make_shared<Impl>()) {}
ProtocolDictionary::~ProtocolDictionary() = default;

const ProtocolDictionary& ProtocolDictionary::Instance() {
    static const ProtocolDictionary* instance = new ProtocolDictionary();  // never destroyed
    return *instance;
}

void ProtocolDictionary::Initialize(const std::wstring& path) const {
    std::unique_lock<std::shared_mutex> exclusive(impl_->lock);
    if (!impl_->protocols.empty()) {
        return;
    }
    dictionary::ReadLines(path, [this](const std::wstring& line) { impl_->ReadLine(line); });
}

const std::wstring& ProtocolDictionary::GetName(int protocol) const {
    std::shared_lock<std::shared_mutex> shared(impl_->lock);
    auto found = impl_->protocols.find(protocol);
    return found != impl_->protocols.end() ? found->second.first : impl_->empty;
}

const std::wstring& ProtocolDictionary::GetDescription(int protocol) const {
    std::shared_lock<std::shared_mutex> shared(impl_->lock);
    auto found = impl_->protocols.find(protocol);
    return found != impl_->protocols.end() ? found->second.second : impl_->empty;
}

void ProtocolDictionary::GetCodes(std::vector<int>& codes) const {
    std::shared_lock<std::shared_mutex> shared(impl_->lock);
    for (const auto& entry : impl_->protocols) {
        codes.push_back(entry.first);
    }
}

}  // namespace fwcommon
