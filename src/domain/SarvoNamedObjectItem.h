#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <fwcommon/INamedObjectElement.h>
#include <fwcommon/export.h>
#include "domain/NamedObjectItem.h"

namespace fwcommon {

// An entry of a VPN host group: one VPN node (parameter 33), one VPN
// network (32) or a name template (31); 0 is the display text. GetParam of
// an id in the set that the class has no answer for throws
// std::runtime_error "Application function: SarvoNamedObjectItem::GetParam.
// Details: Incorrect parameter type.".
class SarvoNamedObjectItem : public NamedObjectItem<eSarvoGroupObject> {
public:
    // A blank item: node 0, network 0, no template, parameter ids {0}.
    SarvoNamedObjectItem();

    static std::shared_ptr<SarvoNamedObjectItem> ForNode(std::uint32_t nodeId);
    static std::shared_ptr<SarvoNamedObjectItem> ForNetwork(std::uint32_t networkId);
    static std::shared_ptr<SarvoNamedObjectItem> FromTemplate(const std::wstring& nameTemplate);

    // "ID 7" for a node other than 0, else "MASK <template>" for a
    // template, else "NET <display text>".
    std::wstring GetName() override;
    std::wstring GetParam(int paramId) const override;
    bool IsEqual(const std::shared_ptr<INamedItem>& other) const override;
    std::size_t EqualityHash() const override;
    INamedObjectElement& Assign(const INamedObjectElement* other) override;
    const std::wstring& GetText() const override { return text_; }

private:
    std::uint32_t nodeId_ = 0;
    std::wstring nameTemplate_;
    std::uint32_t networkId_ = 0;
    std::wstring text_;
};

}  // namespace fwcommon
