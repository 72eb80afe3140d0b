#include "EventLogPublisher.h"

#include <unistd.h>

#include <ctime>
#include <stdexcept>
#include <vector>

#include "EventRecord.h"
#include "JournalFiles.h"
#include "JournalReader.h"
#include "nvx4/repository/Names.h"

namespace nvx4::repository {

namespace {

const std::pair<const wchar_t*, EventLog> kClasses[] = {
    {L"NVX4_OS_ApplicationEventLog", EventLog::Application},
    {L"NVX4_OS_SecurityEventLog", EventLog::Security},
    {L"NVX4_OS_SystemEventLog", EventLog::System},
};

std::size_t parseLimit(const std::string& text) {
    std::size_t used = 0;
    unsigned long long limit = 0;
    try {
        limit = std::stoull(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || text[0] == '-' || limit == 0 ||
        limit > EventLogPublisher::kMaximumLimit)
        throw std::invalid_argument("eventlog: limit must be a number from 1 to " +
                                    std::to_string(EventLogPublisher::kMaximumLimit) + ", not '" +
                                    text + "'");
    return static_cast<std::size_t>(limit);
}

std::string localHostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return "localhost";
    return name;
}

}  // namespace

EventLogPublisher::Settings EventLogPublisher::parse(const std::string& argument) {
    Settings settings;
    bool directoryGiven = false;
    std::size_t start = 0;
    while (start <= argument.size() && !argument.empty()) {
        const std::size_t comma = std::min(argument.find(',', start), argument.size());
        const std::string item = argument.substr(start, comma - start);
        start = comma + 1;
        if (item.rfind("limit=", 0) == 0) {
            settings.limit = parseLimit(item.substr(6));
        } else if (item.empty() || item.find('=') != std::string::npos || directoryGiven) {
            throw std::invalid_argument("eventlog: unusable argument '" + argument +
                                        "' (use DIRECTORY, limit=N or DIRECTORY,limit=N)");
        } else {
            settings.directory = item;
            directoryGiven = true;
        }
    }
    return settings;
}

std::shared_ptr<Publisher> EventLogPublisher::make(const std::string& argument) {
    return std::make_shared<EventLogPublisher>(parse(argument));
}

std::optional<EventLog> EventLogPublisher::logOf(std::wstring_view className) {
    for (const auto& [name, log] : kClasses)
        if (Names::same(className, name)) return log;
    return std::nullopt;
}

bool EventLogPublisher::fills(std::wstring_view className) const {
    return logOf(className).has_value();
}

Publication EventLogPublisher::publish(std::wstring_view className) {
    const std::optional<EventLog> log = logOf(className);
    if (!log) return {};
    const bool machine = settings_.directory.empty();
    if ((machine ? JournalFiles::countMachine()
                 : JournalFiles::countReadable(settings_.directory)) == 0)
        return {{},
                machine ? "this machine keeps no journal (no journal files in /run/log/journal "
                          "or /var/log/journal)"
                        : "no journal files in " + settings_.directory};

    JournalReader reader(settings_.directory);
    const std::vector<JournalEntry> entries =
        reader.newest(*log, settings_.limit, settings_.limit * kWindowFactor);
    // Local time follows the TZ variable as it is now.
    tzset();
    EventRecord records(localHostName());
    Publication publication;
    publication.instances.reserve(entries.size());
    for (const JournalEntry& entry : entries)
        publication.instances.push_back(records.of(entry, *log));
    return publication;
}

}  // namespace nvx4::repository
