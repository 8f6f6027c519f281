#pragma once

#include <cstdint>
#include <string>

#include <boost/asio/ip/address.hpp>

namespace fwcommon {

// One local network interface of the node, as the host describes it to a
// Context (SetNetworkInterfaces). A plain value, copied freely.
struct NetworkInterface {
    // The interface name ("eth0").
    std::wstring name;
    // Its address, version 4 or 6; unspecified (0.0.0.0) by default.
    boost::asio::ip::address address;
    // The host's identifier of the interface.
    std::wstring id;
    // A value the host attaches to the interface; the library only copies
    // it. Zero by default.
    std::int32_t flags = 0;
};

}  // namespace fwcommon
