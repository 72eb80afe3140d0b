// A connection to the BMC through OpenIPMI's client library: an RMCP+ session over the LAN or
// the kernel's local device. Requests are synchronous for the caller and bounded: each waits at
// most the configured timeout for its answer. Any failure to get an answer marks the connection
// broken; the owner then drops it and opens a new one next time.
#ifndef NVX4_REPOSITORY_IPMICONNECTION_H
#define NVX4_REPOSITORY_IPMICONNECTION_H

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "IpmiSettings.h"
#include "nvx4/repository/Publisher.h"

namespace nvx4::repository {

class IpmiEventLoop;
using Bytes = std::vector<std::uint8_t>;

// The BMC answered with a completion code other than success.
class IpmiCommandError : public PublishError {
  public:
    IpmiCommandError(std::uint8_t code, const std::string& message)
        : PublishError(kProviderFailure, message), code_(code) {}
    std::uint8_t code() const { return code_; }

  private:
    std::uint8_t code_;
};

struct IpmiCommand {
    std::uint8_t netFn;
    std::uint8_t code;
    const char* name;  // for messages: "Get Device ID"
};

class IpmiConnection {
  public:
    struct Link;
    static constexpr std::uint8_t kBmcAddress = 0x20;

    // Opens the connection the settings describe. Returns nullptr when the machine has no local
    // BMC device (in-band only); throws PublishError when it cannot be opened in time.
    static std::shared_ptr<IpmiConnection> open(const IpmiSettings& settings);
    ~IpmiConnection();
    IpmiConnection(const IpmiConnection&) = delete;
    IpmiConnection& operator=(const IpmiConnection&) = delete;

    // The response data after the completion code. `owner` and `lun` address a controller
    // other than the BMC through it.
    Bytes request(const IpmiCommand& command, const Bytes& data = {},
                  std::uint8_t owner = kBmcAddress, std::uint8_t lun = 0);
    bool broken() const;
    const std::string& describe() const { return description_; }

  private:
    IpmiConnection(std::shared_ptr<IpmiEventLoop> loop, std::shared_ptr<Link> link,
                   std::string description, std::chrono::milliseconds timeout);

    std::shared_ptr<IpmiEventLoop> loop_;
    std::shared_ptr<Link> link_;
    std::string description_;
    std::chrono::milliseconds timeout_;
};

}  // namespace nvx4::repository

#endif
