#include "OsPublisher.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <sstream>
#include <stdexcept>

#include "MemoryInfo.h"
#include "MountedDisks.h"
#include "SystemSummary.h"
#include "nvx4/repository/Names.h"

namespace nvx4::repository::os {

namespace {

std::int32_t sum32(std::int32_t a, std::int32_t b) {
    const std::int64_t sum = static_cast<std::int64_t>(a) + b;
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(sum, std::numeric_limits<std::int32_t>::max()));
}

std::int64_t wallClockMicroseconds() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

Value optionalText(const std::optional<std::string>& text) {
    return text ? Value::text(*text) : Value();
}

}  // namespace

struct OsPublisher::ClassEntry {
    const wchar_t* name;
    Publication (OsPublisher::*publish)();
};

const OsPublisher::ClassEntry* OsPublisher::findClass(std::wstring_view className) {
    static const ClassEntry kClasses[] = {
        {L"NVX4_OS_CPUUsage", &OsPublisher::processors},
        {L"NVX4_OS_MemoryUsage", &OsPublisher::memory},
        {L"NVX4_OS_DiskUsage", &OsPublisher::disks},
        {L"NVX4_OS_Process", &OsPublisher::processes},
        {L"NVX4_OS_NetworkUsage", &OsPublisher::network},
        {L"NVX4_OS_SysInfo", &OsPublisher::system},
    };
    for (const ClassEntry& entry : kClasses)
        if (Names::same(entry.name, className)) return &entry;
    return nullptr;
}

std::shared_ptr<Publisher> OsPublisher::make(const std::string& argument) {
    std::string root = "/";
    bool withPseudo = false;
    std::istringstream words(argument);
    for (std::string word; std::getline(words, word, ',');) {
        if (word == "pseudo")
            withPseudo = true;
        else if (!word.empty() && word.front() == '/')
            root = word;
        else
            throw std::invalid_argument("os takes an absolute folder and 'pseudo', not '" + word +
                                        "'");
    }
    return std::make_shared<OsPublisher>(root, withPseudo);
}

OsPublisher::OsPublisher(const std::string& root, bool withPseudoFileSystems)
    : root_(root), withPseudo_(withPseudoFileSystems) {}

bool OsPublisher::fills(std::wstring_view className) const {
    return findClass(className) != nullptr;
}

Publication OsPublisher::publish(std::wstring_view className) {
    const ClassEntry* entry = findClass(className);
    if (entry == nullptr) return Publication{};
    return (this->*(entry->publish))();
}

Publication OsPublisher::processors() {
    const auto [earlier, later] = cpuHistory_.pair(
        [this] { return CpuTimes::parse(root_.read("/proc/stat"), Clock::now()); });
    const std::string host = SystemSummary::hostName(root_);
    Publication publication;
    for (const CpuTimes::Usage& usage : CpuTimes::usage(*earlier, *later))
        publication.instances.push_back({{L"SystemName", Value::text(host)},
                                         {L"Name", Value::text(usage.name)},
                                         {L"UserMode", Value::integer(usage.user)},
                                         {L"SystemMode", Value::integer(usage.system)},
                                         {L"CPUUsage", Value::integer(usage.busy)}});
    return publication;
}

Publication OsPublisher::memory() {
    const MemoryInfo info = MemoryInfo::parse(root_.read("/proc/meminfo"));
    const auto kilobytes = [](std::uint64_t value) {
        return Value::real(static_cast<double>(value));
    };
    return Publication{{{{L"SystemName", Value::text(SystemSummary::hostName(root_))},
                         {L"Name", Value::text("Physical Memory")},
                         {L"TotalMemory", kilobytes(info.kilobytes("MemTotal"))},
                         {L"FreeMemory", kilobytes(info.availableKilobytes())},
                         {L"TotalSwap", kilobytes(info.kilobytes("SwapTotal"))},
                         {L"FreeSwap", kilobytes(info.kilobytes("SwapFree"))}}},
                       {}};
}

Publication OsPublisher::disks() {
    const std::string host = SystemSummary::hostName(root_);
    Publication publication;
    for (const MountedDisks::Disk& disk : MountedDisks::read(root_, withPseudo_))
        publication.instances.push_back(
            {{L"SystemName", Value::text(host)},
             {L"DeviceID", Value::text(disk.mountPoint)},
             {L"Description", Value::text(disk.type)},
             {L"Size", Value::text(std::to_string(disk.sizeBytes))},
             {L"FreeSpace", Value::text(std::to_string(disk.availableBytes))}});
    if (publication.instances.empty()) publication.absent = "no mounted local file system";
    return publication;
}

Publication OsPublisher::processes() {
    const auto [earlier, later] =
        processHistory_.pair([this] { return ProcessTable::read(root_); });
    ProcessTable::Machine machine;
    machine.nowMicroseconds = wallClockMicroseconds();
    machine.uptimeSeconds = std::stod(root_.read("/proc/uptime"));
    machine.systemName = SystemSummary::hostName(root_);
    machine.memoryKilobytes = MemoryInfo::parse(root_.read("/proc/meminfo")).kilobytes("MemTotal");
    machine.ticksPerSecond = ::sysconf(_SC_CLK_TCK);
    machine.processors = static_cast<int>(std::max(1L, ::sysconf(_SC_NPROCESSORS_ONLN)));
    return Publication{ProcessTable::instances(*earlier, *later, machine), {}};
}

Publication OsPublisher::network() {
    const auto [earlier, later] = networkHistory_.pair(
        [this] { return NetworkCounters::parse(root_.read("/proc/net/dev"), Clock::now()); });
    const std::string host = SystemSummary::hostName(root_);
    Publication publication;
    for (const NetworkCounters::Rates& r : NetworkCounters::rates(*earlier, *later))
        publication.instances.push_back(
            {{L"SystemName", Value::text(host)},
             {L"Name", Value::text(r.name)},
             {L"ByteTotalPerSec", Value::integer(sum32(r.bytesReceived, r.bytesSent))},
             {L"ByteSentPerSec", Value::integer(r.bytesSent)},
             {L"ByteReceivedPerSec", Value::integer(r.bytesReceived)},
             {L"PacketTotalPerSec", Value::integer(sum32(r.packetsReceived, r.packetsSent))},
             {L"PacketSentPerSec", Value::integer(r.packetsSent)},
             {L"PacketReceivedPerSec", Value::integer(r.packetsReceived)}});
    return publication;
}

Publication OsPublisher::system() {
    return Publication{{{{L"SystemName", Value::text(SystemSummary::hostName(root_))},
                         {L"OSArch", Value::text(SystemSummary::architecture(root_))},
                         {L"OSType", Value::integer(SystemSummary::kLinuxOsType)},
                         {L"Version", Value::text(SystemSummary::kernelRelease(root_))},
                         {L"Name", optionalText(SystemSummary::distribution(root_))},
                         {L"IPAddress", optionalText(SystemSummary::primaryAddress(root_))},
                         {L"NumberOfUsers", Value::integer(SystemSummary::loggedInUsers(root_))},
                         {L"NumberOfProcesses",
                          Value::integer(static_cast<std::int64_t>(root_.processIds().size()))}}},
                       {}};
}

}  // namespace nvx4::repository::os
