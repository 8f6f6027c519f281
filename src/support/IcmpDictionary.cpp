#include <fwcommon/IcmpDictionary.h>

#include <map>
#include <mutex>
#include <shared_mutex>

#include "support/DictionaryFile.h"

namespace fwcommon {

struct IcmpDictionary::Impl {
    std::shared_mutex lock;
    Entries types;
    std::map<int, Entries> codes;

    // Section state while one file is read.
    bool readingTypes = true;

    void ReadLine(const std::wstring& line) {
        if (line.find(L"== ICMP Type ==") != std::wstring::npos) {
            readingTypes = true;
            return;
        }
        if (line.find(L"== ICMP Code ==") != std::wstring::npos) {
            readingTypes = false;
            return;
        }
        auto fields = dictionary::SplitLine(line);
        if (!fields) {
            return;
        }
        const int type = dictionary::ToNumber(fields->first);
        if (readingTypes) {
            types.emplace_back(type, fields->afterFirst);
        } else {
            const int code = dictionary::ToNumber(fields->second);
            codes[type].emplace_back(code, fields->third);
        }
    }
};

IcmpDictionary::IcmpDictionary() : impl_(std::make_shared<Impl>()) {}
IcmpDictionary::~IcmpDictionary() = default;

const IcmpDictionary& IcmpDictionary::Instance() {
    static const IcmpDictionary* instance = new IcmpDictionary();  // never destroyed
    return *instance;
}

void IcmpDictionary::Initialize(const std::wstring& path) const {
    std::unique_lock<std::shared_mutex> exclusive(impl_->lock);
    impl_->readingTypes = true;
    dictionary::ReadLines(path, [this](const std::wstring& line) { impl_->ReadLine(line); });
}

const IcmpDictionary::Entries& IcmpDictionary::GetTypes() const {
    std::shared_lock<std::shared_mutex> shared(impl_->lock);
    return impl_->types;
}

const IcmpDictionary::Entries& IcmpDictionary::GetCodes(int type) const {
    std::unique_lock<std::shared_mutex> exclusive(impl_->lock);  // may create the list
    return impl_->codes[type];
}

}  // namespace fwcommon
