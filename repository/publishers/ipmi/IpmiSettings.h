// How the ipmi publisher reaches the BMC: the settings file named by the source-list entry
// `ipmi=FILE` (none: the local BMC through the kernel's device). One `key = value` per line,
// '#' starts a comment:
//   host, port, user, privilege (user | operator | admin), cipher-suite, password-file: RMCP+
//   over the LAN when `host` is set; interface: the local device number (/dev/ipmiN);
//   timeout: seconds to wait for any one answer; sensor-cache: seconds readings are reused;
//   system-name: the SystemName of every instance.
// The password is never in this file: it is read from `password-file`, which must not be
// readable or writable by group or others.
#ifndef NVX4_REPOSITORY_IPMISETTINGS_H
#define NVX4_REPOSITORY_IPMISETTINGS_H

#include <chrono>
#include <string>

namespace nvx4::repository {

struct IpmiSettings {
    std::string host;  // empty: in-band
    std::string port = "623";
    std::string user;
    int privilege = 3;  // operator: the least level that reads every class
    int cipherSuite = 3;
    std::string passwordFile;
    int interface = 0;
    std::chrono::milliseconds timeout{3000};
    std::chrono::milliseconds sensorCache{5000};
    std::string systemName;

    bool overLan() const { return !host.empty(); }

    // Parses a settings file; throws std::runtime_error naming the file, line and problem.
    static IpmiSettings read(const std::string& path);
    // Parses settings text; `origin` names it in messages.
    static IpmiSettings parse(const std::string& text, const std::string& origin);
};

// A secret read from a file, wiped from memory when it goes.
class IpmiPassword {
  public:
    // Reads the password file: a regular file that group and others can neither read nor write,
    // holding at most 20 bytes (a trailing newline is dropped). Throws PublishError otherwise.
    static IpmiPassword read(const std::string& path);
    ~IpmiPassword();
    IpmiPassword(IpmiPassword&& other) noexcept;
    IpmiPassword(const IpmiPassword&) = delete;
    IpmiPassword& operator=(const IpmiPassword&) = delete;
    IpmiPassword& operator=(IpmiPassword&&) = delete;

    const std::string& text() const { return text_; }

  private:
    IpmiPassword() = default;
    std::string text_;
};

}  // namespace nvx4::repository

#endif
