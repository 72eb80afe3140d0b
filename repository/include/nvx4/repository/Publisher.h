// A live source of instances: it fills some classes of root\nvx4\node from the local machine at
// the moment they are enumerated, as an instance provider does on Windows.
//
// A publisher named in the source list (NVX4_REPOSITORY: `os`, `smbios=FILE`, `live`, ...) is made
// once per process and entry and then asked for each enumeration of a class it fills. It is called
// without any lock of the repository held and possibly from several threads at once, so whatever
// state it keeps (previous counters for rates, caches) sits behind its own lock, which it never
// holds while it reads the system.
#ifndef NVX4_REPOSITORY_PUBLISHER_H
#define NVX4_REPOSITORY_PUBLISHER_H

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "nvx4/repository/PropertyValues.h"

namespace nvx4::repository {

// What a publisher found for one class.
struct Publication {
    // One entry per instance; each names the properties it sets (the rest are NULL). Values are
    // checked against the class's property types as MOF literals are.
    std::vector<PropertyValues> instances;
    // Set when the machine lacks the thing the class describes (no such device, no tables): the
    // class is then empty, and this text is traced as the reason.
    std::string absent;
};

// The source is there but cannot be read, or reading it failed: the enumeration of the class
// fails with `status()`, a WBEM failure code; the message says what failed and is traced.
class PublishError : public std::runtime_error {
  public:
    static constexpr std::int32_t kAccessDenied = static_cast<std::int32_t>(0x80041003);
    static constexpr std::int32_t kProviderFailure = static_cast<std::int32_t>(0x80041004);

    PublishError(std::int32_t status, const std::string& message)
        : std::runtime_error(message), status_(status) {}
    // A failed system call on `what`: access denied for EACCES and EPERM, else provider failure;
    // the message is "cannot read <what>: <reason>".
    static PublishError fromErrno(const std::string& what, int error);

    std::int32_t status() const { return status_; }

  private:
    std::int32_t status_;
};

class Publisher {
  public:
    virtual ~Publisher() = default;

    // Whether this publisher fills the class; names compare without regard to case.
    virtual bool fills(std::wstring_view className) const = 0;
    // The class's instances now. Throws PublishError (any other exception counts as a provider
    // failure).
    virtual Publication publish(std::wstring_view className) = 0;
};

// Makes a publisher from the argument of its source-list entry: "" for `os`, "FILE" for
// `smbios=FILE`. Cheap: no reading of the system. Throws std::invalid_argument for an argument it
// cannot use.
using PublisherFactory = std::function<std::shared_ptr<Publisher>(const std::string& argument)>;

class PublisherCatalog {
  public:
    // Names of the publishers `live` stands for, in the order it lists them.
    static std::vector<std::string> builtInNames();
    // The factory of a publisher name (built in or added); empty when there is none.
    static PublisherFactory find(std::string_view name);

    // For tests: makes a publisher name known to the source list (not part of `live`), or
    // replaces one; remove() forgets it again.
    static void add(const std::string& name, PublisherFactory factory);
    static void remove(const std::string& name);
};

}  // namespace nvx4::repository

#endif
