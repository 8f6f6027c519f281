#include <fwcommon/ILogDispFacade.h>

#include <cstring>
#include <cwchar>
#include <locale>
#include <mutex>

#include <boost/thread/locks.hpp>

namespace ilogdispfacade {
namespace {

// Widens a narrow message byte by byte with the global locale's ctype
// facet; a byte without a wide counterpart becomes "?".
std::wstring Widen(const char* begin, const char* end) {
    const auto& ctype = std::use_facet<std::ctype<wchar_t>>(std::locale());
    std::wstring wide(static_cast<std::size_t>(end - begin), L'?');
    ctype.widen(begin, end, &wide[0]);
    for (wchar_t& character : wide) {
        if (static_cast<std::wint_t>(character) == WEOF) {
            character = L'?';
        }
    }
    return wide;
}

}  // namespace

ILogDispSink::~ILogDispSink() = default;

int ILogDispSink::LevelOfLine(const wchar_t* line) {
    if (line == nullptr || *line == L'\0') {
        return -1;
    }
    const wchar_t* found = std::wcschr(ILogDispFacade::kLevelCharacters, *line);
    return found != nullptr ? static_cast<int>(found - ILogDispFacade::kLevelCharacters) : -1;
}

ILogDispFacade::ILogDispFacade() = default;
ILogDispFacade::~ILogDispFacade() = default;

ILogDispSink* ILogDispFacade::AttachSink(ILogDispSink* sink) {
    std::lock_guard<boost::shared_mutex> exclusive(lock_);
    ILogDispSink* previous = sink_;
    sink_ = sink;
    return previous;
}

ILogDispSink* ILogDispFacade::DetachSink() {
    return AttachSink(nullptr);
}

void ILogDispFacade::SetComponentName(const std::wstring& name) {
    std::lock_guard<boost::shared_mutex> exclusive(lock_);
    componentName_ = name;
}

std::wstring ILogDispFacade::GetComponentName() const {
    boost::shared_lock<boost::shared_mutex> shared(lock_);
    return componentName_;
}

bool ILogDispFacade::HasSink() const {
    boost::shared_lock<boost::shared_mutex> shared(lock_);
    return sink_ != nullptr;
}

void ILogDispFacade::Log(const std::wstring& message, int level) {
    boost::shared_lock<boost::shared_mutex> shared(lock_);
    if (sink_ == nullptr) {
        return;
    }
    std::wstring line;
    line.reserve(componentName_.size() + message.size() + 3);
    line += LevelCharacter(level);
    line += L' ';
    line += componentName_;
    line += L' ';
    line += message;
    sink_->Output(line.c_str());
}

void ILogDispFacade::Log(const std::string& message, int level) {
    Log(Widen(message.data(), message.data() + message.size()), level);
}

void ILogDispFacade::Log(const char* message, int level) {
    const char* text = message != nullptr ? message : "";
    Log(Widen(text, text + std::strlen(text)), level);
}

wchar_t ILogDispFacade::LevelCharacter(int level) {
    const int clamped = level < 0 ? 0 : (level > 4 ? 4 : level);
    return kLevelCharacters[clamped];
}

}  // namespace ilogdispfacade
