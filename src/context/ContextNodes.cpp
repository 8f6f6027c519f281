#include <fwcommon/Context.h>

#include <stdexcept>

#include <fwcommon/IVpnNode.h>
#include <fwcommon/LogFacility.h>
#include <fwcommon/StringUtilities.h>
#include "support/ComposedLog.h"

namespace fwcommon {

namespace {

std::wstring AddressText(const boost::asio::ip::address& address) {
    const std::string text = address.to_string();
    return std::wstring(text.begin(), text.end());
}

std::wstring InterfacesLogText(const std::vector<NetworkInterface>& interfaces) {
    std::wstring text = L"SetNetworkInterfaces: \n";
    for (const auto& networkInterface : interfaces) {
        text += L"\t name='" + networkInterface.name + L"', id=" + networkInterface.id + L",ip=" +
                AddressText(networkInterface.address) + L"\n";
    }
    return text;
}

}  // namespace

void Context::SetNetworkNodes(std::shared_ptr<const VpnNodeList> nodes) {
    const std::size_t count = nodes ? nodes->size() : 0;
    GetLibLogFacility().Log(L"SetNetworkNodes: " + std::to_wstring(count), kLogRoutine);
    networkNodes_ = std::move(nodes);
}

std::shared_ptr<const VpnNodeList> Context::GetNetworkNodes() const {
    return networkNodes_;
}

std::shared_ptr<IVpnNode> Context::GetNetworkNode(unsigned int index) const {
    if (!networkNodes_ || index >= networkNodes_->size()) {
        throw std::out_of_range(StringUtilities::GetErrorString("fwcommon::Context::GetNetworkNode",
                                                                std::string("Index out of range")));
    }
    return (*networkNodes_)[index];
}

void Context::SetNetworkInterfaces(const std::vector<NetworkInterface>& interfaces) {
    LogComposed(kLogRoutine, [&] { return InterfacesLogText(interfaces); });
    networkInterfaces_ = interfaces;
}

const std::vector<NetworkInterface>& Context::GetNetworkInterfaces() const {
    return networkInterfaces_;
}

void Context::SetOperationalMode(CoreOperationalTypes mode) {
    operationalMode_ = mode;
    internalNumberBase_ = mode == eLowNumberingMode ? 1u : 1000000u;
}

CoreOperationalTypes Context::GetOperationalMode() const {
    return operationalMode_;
}

}  // namespace fwcommon
