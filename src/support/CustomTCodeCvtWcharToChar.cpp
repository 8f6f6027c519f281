#include <fwcommon/CustomTCodeCvtWcharToChar.h>

#include <cwchar>

#include "support/CharacterSet.h"

namespace tools2 {

using Base = std::codecvt_byname<wchar_t, char, std::mbstate_t>;

CustomTCodeCvtWcharToChar::CustomTCodeCvtWcharToChar(const std::string& localeName,
                                                     std::size_t refs)
    : Base(localeName, refs), localeName_(localeName) {
    auto settings = fwcommon::platform::QueryCharacterSettings(localeName);
    codeset_ = settings.codeset;
    maxBytesPerCharacter_ = settings.maxBytesPerCharacter;
}

CustomTCodeCvtWcharToChar::~CustomTCodeCvtWcharToChar() = default;

CustomTCodeCvtWcharToChar::result CustomTCodeCvtWcharToChar::do_in(
    state_type& state, const extern_type* from, const extern_type* fromEnd,
    const extern_type*& fromNext, intern_type* to, intern_type* toEnd, intern_type*& toNext) const {
    const auto inLength = static_cast<std::size_t>(fromEnd - from);
    const auto room = static_cast<std::size_t>(toEnd - to);
    if (inLength <= room) {
        auto produced = fwcommon::platform::NarrowToWide(codeset_, from, inLength, to, inLength);
        if (produced && *produced == inLength) {
            fromNext = fromEnd;
            toNext = to + inLength;
            return ok;
        }
    }
    auto result = Base::do_in(state, from, fromEnd, fromNext, to, toEnd, toNext);
    // The standard facet swallows a sequence cut off at the end of the
    // input into the state and still reports ok; report it as partial.
    if (result == ok && !std::mbsinit(&state)) {
        return partial;
    }
    return result;
}

CustomTCodeCvtWcharToChar::result CustomTCodeCvtWcharToChar::do_out(
    state_type& state, const intern_type* from, const intern_type* fromEnd,
    const intern_type*& fromNext, extern_type* to, extern_type* toEnd, extern_type*& toNext) const {
    const auto inLength = static_cast<std::size_t>(fromEnd - from);
    const auto room = static_cast<std::size_t>(toEnd - to);
    if (inLength <= room) {
        auto produced = fwcommon::platform::WideToNarrow(codeset_, from, inLength, to, inLength);
        if (produced && *produced == inLength) {
            fromNext = fromEnd;
            toNext = to + inLength;
            return ok;
        }
    }
    return Base::do_out(state, from, fromEnd, fromNext, to, toEnd, toNext);
}

int CustomTCodeCvtWcharToChar::do_max_length() const noexcept {
    return maxBytesPerCharacter_;
}

}  // namespace tools2
