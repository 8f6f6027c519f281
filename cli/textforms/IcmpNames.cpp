#include "IcmpNames.h"

#include <iterator>

#include "TextScan.h"

namespace fwpolicy::textforms {
namespace {

constexpr int kIcmp = 1;

struct IcmpTypeName {
    int type;
    const char* name;
};

constexpr IcmpTypeName kIcmpTypes[] = {
    {0, "echo-reply"},           {3, "destination-unreachable"},
    {4, "source-quench"},        {5, "redirect"},
    {8, "echo-request"},         {9, "router-advertisement"},
    {10, "router-solicitation"}, {11, "time-exceeded"},
    {12, "parameter-problem"},   {13, "timestamp-request"},
    {14, "timestamp-reply"},     {15, "info-request"},
    {16, "info-reply"},          {17, "address-mask-request"},
    {18, "address-mask-reply"},
};

constexpr IcmpTypeName kIcmpv6Types[] = {
    {1, "destination-unreachable"}, {2, "packet-too-big"},        {3, "time-exceeded"},
    {4, "parameter-problem"},       {128, "echo-request"},        {129, "echo-reply"},
    {130, "mld-listener-query"},    {131, "mld-listener-report"}, {132, "mld-listener-done"},
    {133, "nd-router-solicit"},     {134, "nd-router-advert"},    {135, "nd-neighbor-solicit"},
    {136, "nd-neighbor-advert"},    {137, "nd-redirect"},         {138, "router-renumbering"},
    {143, "mld2-listener-report"},
};

template <std::size_t N>
std::optional<int> TypeIn(const IcmpTypeName (&table)[N], const std::string& name) {
    for (const IcmpTypeName& entry : table) {
        if (name == entry.name)
            return entry.type;
    }
    return std::nullopt;
}

template <std::size_t N>
std::string NameIn(const IcmpTypeName (&table)[N], int type) {
    for (const IcmpTypeName& entry : table) {
        if (type == entry.type)
            return entry.name;
    }
    return {};
}

}  // namespace

std::optional<int> IcmpTypeOfName(int protocol, const std::string& name) {
    const std::string lower = AsciiLower(name);
    return protocol == kIcmp ? TypeIn(kIcmpTypes, lower) : TypeIn(kIcmpv6Types, lower);
}

std::string IcmpNameOfType(int protocol, int type) {
    return protocol == kIcmp ? NameIn(kIcmpTypes, type) : NameIn(kIcmpv6Types, type);
}

}  // namespace fwpolicy::textforms
