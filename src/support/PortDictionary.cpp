#include <fwcommon/PortDictionary.h>

#include <cwctype>
#include <map>
#include <mutex>
#include <shared_mutex>

#include "support/DictionaryFile.h"

namespace fwcommon {

struct PortDictionary::Impl {
    using Services = std::map<int, std::pair<std::wstring, std::wstring>>;  // name, description

    std::shared_mutex lock;
    const std::wstring empty;
    Services tcp;
    Services udp;

    Services& For(TransportProtocol protocol) { return protocol == Tcp ? tcp : udp; }

    void ReadLine(const std::wstring& line) {
        auto fields = dictionary::SplitLine(line);
        if (!fields) {
            return;
        }
        const std::size_t slash = fields->second.find(L'/');
        const int port = dictionary::ToNumber(fields->second.substr(0, slash));
        std::wstring protocol =
            slash == std::wstring::npos ? std::wstring() : fields->second.substr(slash + 1);
        for (wchar_t& character : protocol) {
            character = static_cast<wchar_t>(std::towupper(character));
        }
        Services* services = protocol == L"TCP" ? &tcp : protocol == L"UDP" ? &udp : nullptr;
        if (services != nullptr) {
            services->emplace(port, std::make_pair(fields->first, fields->first));
        }
    }
};

PortDictionary::PortDictionary() : impl_(std::make_shared<Impl>()) {}
PortDictionary::~PortDictionary() = default;

const PortDictionary& PortDictionary::Instance() {
    static const PortDictionary* instance = new PortDictionary();  // never destroyed
    return *instance;
}

void PortDictionary::Initialize(const std::wstring& path) const {
    std::unique_lock<std::shared_mutex> exclusive(impl_->lock);
    dictionary::ReadLines(path, [this](const std::wstring& line) { impl_->ReadLine(line); });
}

const std::wstring& PortDictionary::GetName(TransportProtocol protocol, int port) const {
    std::shared_lock<std::shared_mutex> shared(impl_->lock);
    const auto& services = impl_->For(protocol);
    auto found = services.find(port);
    return found != services.end() ? found->second.first : impl_->empty;
}

const std::wstring& PortDictionary::GetDescription(TransportProtocol protocol, int port) const {
    std::shared_lock<std::shared_mutex> shared(impl_->lock);
    const auto& services = impl_->For(protocol);
    auto found = services.find(port);
    return found != services.end() ? found->second.second : impl_->empty;
}

void PortDictionary::GetCodes(TransportProtocol protocol, std::vector<int>& ports) const {
    std::shared_lock<std::shared_mutex> shared(impl_->lock);
    for (const auto& entry : impl_->For(protocol)) {
        ports.push_back(entry.first);
    }
}

}  // namespace fwcommon
