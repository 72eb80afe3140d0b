// Publisher `eventlog`: the application, security and system event logs (classes
// NVX4_OS_ApplicationEventLog, NVX4_OS_SecurityEventLog, NVX4_OS_SystemEventLog) from the systemd
// journal, the most recent entries of each, newest last.
//
// Argument: comma-separated items, each optional: a journal directory (default: this machine's
// journal) and `limit=N`, the most entries per log (default 1000). The system and application
// logs look at no more than 100 times that many of the journal's most recent entries, so that
// reading stays bounded on a journal of any size.
#ifndef NVX4_REPOSITORY_EVENTLOGPUBLISHER_H
#define NVX4_REPOSITORY_EVENTLOGPUBLISHER_H

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "EventLogRule.h"
#include "nvx4/repository/Publisher.h"

namespace nvx4::repository {

class EventLogPublisher : public Publisher {
  public:
    static constexpr std::size_t kDefaultLimit = 1000;
    static constexpr std::size_t kMaximumLimit = 1000000;
    static constexpr std::size_t kWindowFactor = 100;

    struct Settings {
        std::string directory;  // empty: this machine's journal
        std::size_t limit = kDefaultLimit;
    };

    // Throws std::invalid_argument for an argument it cannot use.
    static Settings parse(const std::string& argument);
    static std::shared_ptr<Publisher> make(const std::string& argument);

    explicit EventLogPublisher(Settings settings) : settings_(std::move(settings)) {}

    bool fills(std::wstring_view className) const override;
    Publication publish(std::wstring_view className) override;

  private:
    static std::optional<EventLog> logOf(std::wstring_view className);

    const Settings settings_;
};

}  // namespace nvx4::repository

#endif
