#pragma once

#include <cstdint>
#include <string>

#include <fwcommon/ISystemObjectItem.h>
#include <fwcommon/export.h>

namespace fwcommon {

// A predefined network set as an entry of a named object. The name is the
// text of the type, fixed at construction; every system object shares the
// identifier 0. Constructing with a value outside 0..14 throws
// std::out_of_range (from StringUtilities::GetSystemType).
class SystemObject : public virtual ISystemObjectItem {
public:
    explicit SystemObject(SystemObjectTypes type);

    const std::uint32_t& GetIdentifier() const override;
    std::wstring GetName() override { return name_; }
    std::set<int> GetParamIds() const override { return {}; }
    // The name, whatever the id.
    std::wstring GetParam(int) const override { return name_; }
    std::int32_t GetItemKind() const override { return eSystemObjectItem; }
    // True for another SystemObject of the same type.
    bool IsEqual(const std::shared_ptr<INamedItem>& other) const override;
    SystemObjectTypes GetSystemType() const override { return type_; }

    const std::wstring& Name() const { return name_; }

private:
    SystemObjectTypes type_;
    std::wstring name_;
};

}  // namespace fwcommon
