#pragma once

#include <memory>
#include <string>
#include <vector>

#include <fwcommon/export.h>

namespace fwcommon {

// Service names of TCP and UDP port numbers, for display. A process-wide
// singleton, empty until the host calls Initialize with a dictionary file.
//
// File format (UTF-8): one service per line, "name  port/protocol" with
// fields separated by two blanks; whatever follows the second field is
// ignored. The protocol is compared with "TCP" and "UDP" after
// upper-casing; lines of any other protocol are ignored. The service name
// is both the name and the description; for a port given twice the first
// line wins. Comments as in ProtocolDictionary.
//
// Look-ups and Initialize may be called from any thread; returned
// references stay valid for the life of the process.
class FWCOMMON_EXPORT PortDictionary {
public:
    // Tcp selects the TCP services; any other value the UDP services.
    enum TransportProtocol : int { Tcp = 1, Udp = 2 };

    // The singleton, created on first use and never destroyed.
    static const PortDictionary& Instance();

    // Adds the lines of the file to what the dictionary holds. A file that
    // cannot be opened changes nothing. A port that is not a decimal
    // number throws boost::bad_lexical_cast; the lines before it stay.
    void Initialize(const std::wstring& path) const;

    // The service name or description; an empty string for a port the
    // dictionary does not hold.
    virtual const std::wstring& GetName(TransportProtocol protocol, int port) const;
    virtual const std::wstring& GetDescription(TransportProtocol protocol, int port) const;
    // Appends every known port of the protocol in ascending order.
    virtual void GetCodes(TransportProtocol protocol, std::vector<int>& ports) const;

    virtual ~PortDictionary();
    PortDictionary(const PortDictionary&) = delete;
    PortDictionary& operator=(const PortDictionary&) = delete;

private:
    struct Impl;

    PortDictionary();
    std::shared_ptr<Impl> impl_;
};

}  // namespace fwcommon
