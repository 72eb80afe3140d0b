// Operating-system records.
#ifndef NVX4_OS_RECORDS_H
#define NVX4_OS_RECORDS_H

#include <string>

struct OS_CPUUsage {
    unsigned short Index;
    std::string SystemName;
    std::string Name;
    short UserMode;
    short SystemMode;
    short CPUUsage;
};

struct OS_MemoryUsage {
    std::string SystemName;
    std::string Name;
    std::string TotalMemory;
    std::string FreeMemory;
    std::string TotalSwap;
    std::string FreeSwap;
};

struct OS_DiskUsage {
    unsigned short Index;
    std::string SystemName;
    std::string DeviceID;
    std::string Description;
    std::string Size;
    std::string FreeSpace;
};

// Handle is text here; CPUUsage and MemoryUsage are reals kept as "%.6f"
// text.
struct OS_Process {
    unsigned short Index;
    std::string SystemName;
    std::string Handle;
    std::string Name;
    int Priority;
    std::string CreationDate;
    std::string UserModeTime;
    std::string KernelModeTime;
    int ParentProcessID;
    std::string WorkingSetSize;
    std::string ExecutionState;
    std::string ElapsedTime;
    std::string CPUUsage;
    std::string MemoryUsage;
};

struct OS_NetworkUsage {
    unsigned short Index;
    std::string SystemName;
    std::string Name;
    int ByteTotalPerSec;
    int ByteSentPerSec;
    int ByteReceivedPerSec;
    int PacketTotalPerSec;
    int PacketSentPerSec;
    int PacketReceivedPerSec;
};

struct OS_ApplicationEventLog {
    unsigned short Index;
    std::string SystemName;
    std::string RecordID;
    std::string MessageTimestamp;
    std::string SourceName;
    std::string Type;
    std::string User;
    std::string Description;
};

// Same fields as the application event log.
struct OS_SecurityEventLog {
    unsigned short Index;
    std::string SystemName;
    std::string RecordID;
    std::string MessageTimestamp;
    std::string SourceName;
    std::string Type;
    std::string User;
    std::string Description;
};

// Same fields as the application event log.
struct OS_SystemEventLog {
    unsigned short Index;
    std::string SystemName;
    std::string RecordID;
    std::string MessageTimestamp;
    std::string SourceName;
    std::string Type;
    std::string User;
    std::string Description;
};

struct OS_SysInfo {
    std::string SystemName;
    std::string OSArch;
    std::string OSType;
    std::string Version;
    std::string Name;
    std::string IPAddress;
    int NumberOfUsers;
    int NumberOfProcesses;
};

struct OS_SMART {
    std::string SystemName;
    std::string DiskID;
    std::string DiskType;
    std::string ModelName;
    std::string SerialNumber;
    short SMARTAttrRevision;
    short SMARTThresholdRevision;
    std::string SMARTAlert;
};

#endif
