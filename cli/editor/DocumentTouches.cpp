#include "editor/DocumentTouches.h"

#include <algorithm>
#include <utility>

#include "editor/DocumentFrame.h"

namespace fwpolicy {
namespace {

std::vector<std::pair<std::string, DocumentTouch>>& Waiting() {
    static std::vector<std::pair<std::string, DocumentTouch>> touches;
    return touches;
}

auto Find(const std::string& key) {
    auto& touches = Waiting();
    return std::find_if(touches.begin(), touches.end(),
                        [&key](const auto& touch) { return touch.first == key; });
}

}  // namespace

void AddDocumentTouch(const std::string& key, DocumentTouch touch) {
    if (!HasDocumentTouch(key))
        Waiting().emplace_back(key, std::move(touch));
}

void DropDocumentTouch(const std::string& key) {
    const auto found = Find(key);
    if (found != Waiting().end())
        Waiting().erase(found);
}

bool HasDocumentTouch(const std::string& key) {
    return Find(key) != Waiting().end();
}

std::vector<unsigned char> ApplyDocumentTouches(std::vector<unsigned char> bytes) {
    if (Waiting().empty())
        return bytes;
    const auto touches = std::move(Waiting());
    Waiting().clear();
    const auto frame = ParseFrame(bytes);
    // Each touch undoes what the Context did after it was registered, on
    // the document as it stood then: the last one first.
    for (auto touch = touches.rbegin(); touch != touches.rend(); ++touch)
        touch->second(*frame.policy);
    return WithTailOf(std::move(bytes), frame);
}

void ClearDocumentTouches() {
    Waiting().clear();
}

}  // namespace fwpolicy
