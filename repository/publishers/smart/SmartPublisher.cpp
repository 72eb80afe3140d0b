#include "SmartPublisher.h"

#include <unistd.h>

#include <stdexcept>

#include "ChildProcess.h"
#include "SmartctlReport.h"
#include "nvx4/repository/Names.h"

namespace nvx4::repository {

namespace {

using Json = nlohmann::json;

constexpr char kProgram[] = "smartctl";

std::string localHostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return "localhost";
    return name;
}

std::chrono::seconds parseSeconds(const std::string& item, std::size_t at) {
    const std::string text = item.substr(at);
    std::size_t used = 0;
    long long seconds = -1;
    try {
        seconds = std::stoll(text, &used);
    } catch (const std::exception&) {
    }
    if (used == 0 || used != text.size() || seconds < 0 || seconds > 86400)
        throw std::invalid_argument("smart: " + item.substr(0, at) +
                                    " needs seconds from 0 to 86400, not '" + text + "'");
    return std::chrono::seconds(seconds);
}

std::string commandLine(const std::vector<std::string>& argv) {
    std::string text;
    for (const std::string& arg : argv) text += (text.empty() ? "" : " ") + arg;
    return text;
}

}  // namespace

SmartPublisher::Settings SmartPublisher::parse(const std::string& argument) {
    Settings settings;
    for (std::size_t start = 0; !argument.empty() && start <= argument.size();) {
        const std::size_t comma = std::min(argument.find(',', start), argument.size());
        const std::string item = argument.substr(start, comma - start);
        start = comma + 1;
        if (item.rfind("cache=", 0) == 0) {
            settings.cache = parseSeconds(item, 6);
        } else if (item.rfind("timeout=", 0) == 0) {
            settings.timeout = parseSeconds(item, 8);
            if (settings.timeout.count() == 0)
                throw std::invalid_argument("smart: timeout needs at least 1 second");
        } else {
            throw std::invalid_argument("smart: unusable argument '" + argument +
                                        "' (use cache=SECONDS,timeout=SECONDS)");
        }
    }
    return settings;
}

std::shared_ptr<Publisher> SmartPublisher::make(const std::string& argument) {
    return std::make_shared<SmartPublisher>(parse(argument));
}

bool SmartPublisher::fills(std::wstring_view className) const {
    return Names::same(className, L"NVX4_OS_SMART");
}

Publication SmartPublisher::publish(std::wstring_view className) {
    if (!fills(className)) return {};
    Readings readings;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (readAt_ && Clock::now() - *readAt_ < settings_.cache) return cached_;
        readings = readings_;
    }
    Publication publication = read(readings);
    std::lock_guard<std::mutex> lock(mutex_);
    readAt_ = Clock::now();
    cached_ = publication;
    readings_ = std::move(readings);
    return publication;
}

Publication SmartPublisher::read(Readings& readings) const {
    // Runs smartctl with the arguments; nullopt when smartctl is not installed.
    auto run = [this](std::vector<std::string> argv) -> std::optional<Json> {
        argv.insert(argv.begin(), kProgram);
        const ChildProcess::Result result = ChildProcess::run(argv, settings_.timeout);
        if (!result.found) return std::nullopt;
        if (result.timedOut)
            throw PublishError(PublishError::kProviderFailure,
                               commandLine(argv) + " did not finish within " +
                                   std::to_string(settings_.timeout.count()) + " s");
        Json document = Json::parse(result.output, nullptr, false);
        if (!document.is_object())
            throw PublishError(PublishError::kProviderFailure,
                               commandLine(argv) + " gave no JSON (exit status " +
                                   std::to_string(result.exitStatus) + ")");
        return document;
    };

    const std::optional<Json> scan = run({"--scan-open", "--json"});
    if (!scan) return {{}, "smartctl is not installed (not found on PATH)"};
    const std::vector<SmartDevice> devices = SmartctlReport::devicesOf(*scan);
    const std::string host = localHostName();
    Publication publication;
    std::string unsupported;
    for (const SmartDevice& device : devices) {
        const std::optional<Json> report =
            run({"--json", "-i", "-H", "-A", "-n", "standby", "-d", device.type, device.name});
        if (!report) return {{}, "smartctl is not installed (not found on PATH)"};
        switch (SmartctlReport::stateOf(*report)) {
            case SmartctlReport::State::Read:
                readings[device.diskId] = SmartctlReport::diskOf(*report, device, host);
                publication.instances.push_back(readings[device.diskId]);
                break;
            case SmartctlReport::State::Standby: {
                const auto earlier = readings.find(device.diskId);
                publication.instances.push_back(earlier != readings.end()
                                                    ? earlier->second
                                                    : SmartctlReport::sleepingDisk(device, host));
                break;
            }
            case SmartctlReport::State::Unsupported:
                unsupported += " " + device.diskId;
                break;
        }
    }
    if (publication.instances.empty())
        publication.absent = devices.empty()
                                 ? "smartctl found no disk"
                                 : "no SMART-capable disk (no SMART data from" + unsupported + ")";
    return publication;
}

}  // namespace nvx4::repository
