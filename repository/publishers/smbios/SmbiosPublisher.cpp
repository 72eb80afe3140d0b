#include "SmbiosPublisher.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include "SmbiosClasses.h"
#include "nvx4/repository/Names.h"

namespace nvx4::repository::smbios {

namespace {

// Far more than any firmware's table (a 3.x table may not exceed 4 GB, real ones hold a few KB);
// a larger file is no SMBIOS table.
constexpr std::size_t kLargestFile = 16 * 1024 * 1024;

Bytes readFile(const std::string& path) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) throw PublishError::fromErrno(path, errno);
    Bytes bytes;
    unsigned char chunk[4096];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + n);
        if (bytes.size() > kLargestFile)
            throw PublishError(PublishError::kProviderFailure,
                               path + ": not an SMBIOS table (larger than 16 MB)");
    }
    if (std::ferror(file.get())) throw PublishError::fromErrno(path, errno);
    return bytes;
}

bool isDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

template <typename Read>
SmbiosTable parsed(const std::string& path, Read read) {
    try {
        return read();
    } catch (const std::runtime_error& e) {
        if (dynamic_cast<const PublishError*>(&e)) throw;
        throw PublishError(PublishError::kProviderFailure, path + ": " + e.what());
    }
}

}  // namespace

const std::vector<SmbiosClass>& smbiosClasses() {
    static const std::vector<SmbiosClass> classes = {
        {L"NVX4_SMBIOS_BIOS", publishBios},
        {L"NVX4_SMBIOS_Fan", publishFans},
        {L"NVX4_SMBIOS_HeatPipe", publishHeatPipes},
        {L"NVX4_SMBIOS_Refrigeration", publishRefrigeration},
        {L"NVX4_SMBIOS_TemperatureProbe", publishTemperatureProbes},
        {L"NVX4_SMBIOS_VoltageProbe", publishVoltageProbes},
        {L"NVX4_SMBIOS_ComputerSystemProduct", publishSystemProduct},
        {L"NVX4_SMBIOS_Processor", publishProcessors},
        {L"NVX4_SMBIOS_SystemEventLog", publishEventLogs},
        // The records lie in the log area, outside the table: see publishLogRecords().
        {L"NVX4_SMBIOS_SystemEventLogRecord", nullptr},
        {L"NVX4_SMBIOS_PhysicalMemoryArray", publishMemoryArrays},
        {L"NVX4_SMBIOS_PhysicalMemory", publishMemoryDevices},
        {L"NVX4_SMBIOS_Baseboard", publishBaseboards},
        {L"NVX4_SMBIOS_Cache", publishCaches},
        {L"NVX4_SMBIOS_PortConnector", publishPortConnectors},
        {L"NVX4_SMBIOS_MemoryController", publishMemoryControllers},
        {L"NVX4_SMBIOS_MemoryModule", publishMemoryModules},
        {L"NVX4_SMBIOS_Slot", publishSlots},
        {L"NVX4_SMBIOS_OnboardDevice", publishOnboardDevices},
        {L"NVX4_SMBIOS_HWSecurity", publishHardwareSecurity},
    };
    return classes;
}

SmbiosPublisher::SmbiosPublisher(std::string source) : source_(std::move(source)) {}

PublisherFactory SmbiosPublisher::factory() {
    return [](const std::string& argument) { return std::make_shared<SmbiosPublisher>(argument); };
}

bool SmbiosPublisher::fills(std::wstring_view className) const {
    for (const SmbiosClass& cls : smbiosClasses())
        if (Names::same(cls.name, className)) return true;
    return false;
}

SmbiosPublisher::Reading SmbiosPublisher::read() const {
    const std::string folder = source_.empty() ? kKernelTables : source_;
    if (!source_.empty() && !isDirectory(source_))
        return {parsed(source_, [this] { return SmbiosTable::readDump(readFile(source_)); }), {}};
    const std::string entryPoint = folder + "/smbios_entry_point";
    struct stat info {};
    if (::stat(entryPoint.c_str(), &info) != 0 && errno == ENOENT)
        return {SmbiosTable(),
                "no SMBIOS tables on this machine (" + entryPoint + " does not exist)"};
    return {parsed(entryPoint,
                   [&] {
                       const Bytes ep = readFile(entryPoint);
                       return SmbiosTable::read(ep, readFile(folder + "/DMI"));
                   }),
            {}};
}

// The kernel exposes the log area of the first type-15 structure (memory-mapped and indexed
// I/O logs) as entries/15-0/system_event_log/raw_event_log beside the tables folder.
Publication SmbiosPublisher::publishLogRecords(const SmbiosTable& table) const {
    if (!source_.empty() && !isDirectory(source_))
        return {{}, "a dump holds the table, not the event-log area"};
    const std::vector<const SmbiosStructure*> logs = table.ofType(15);
    if (logs.empty()) return {{}, "the table describes no system event log"};
    // The kernel reads only logs behind I/O ports or memory (access methods 0-3).
    if (logs.front()->byte(0x0A).value_or(0xFF) > 3)
        return {{}, "the kernel cannot read a log of this access method"};
    const std::string folder = source_.empty() ? kKernelTables : source_;
    const std::string area = folder + "/../entries/15-0/system_event_log/raw_event_log";
    struct stat info {};
    if (::stat(area.c_str(), &info) != 0 && errno == ENOENT)
        return {{}, "the kernel does not expose the event-log area (" + area + ")"};
    return {publishEventLogRecords(*logs.front(), readFile(area)), {}};
}

Publication SmbiosPublisher::publish(std::wstring_view className) {
    for (const SmbiosClass& cls : smbiosClasses()) {
        if (!Names::same(cls.name, className)) continue;
        Reading reading = read();
        if (!reading.absent.empty()) return {{}, reading.absent};
        if (cls.publish == nullptr) return publishLogRecords(reading.table);
        return {cls.publish(reading.table), {}};
    }
    return {};
}

}  // namespace nvx4::repository::smbios
