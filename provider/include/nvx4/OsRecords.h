// Operating-system records (classes 1036..1045).
#ifndef NVX4_OS_RECORDS_H
#define NVX4_OS_RECORDS_H

#include <string>

// 1036 NVX4_OS_CPUUsage.
struct OS_CPUUsage {
    unsigned short Index;
    std::string SystemName;
    std::string Name;
    short UserMode;
    short SystemMode;
    short CPUUsage;
};

// 1037 NVX4_OS_MemoryUsage.
struct OS_MemoryUsage {
    std::string SystemName;
    std::string Name;
    std::string TotalMemory;
    std::string FreeMemory;
    std::string TotalSwap;
    std::string FreeSwap;
};

// 1038 NVX4_OS_DiskUsage.
struct OS_DiskUsage {
    unsigned short Index;
    std::string SystemName;
    std::string DeviceID;
    std::string Description;
    std::string Size;
    std::string FreeSpace;
};

// 1039 NVX4_OS_Process. Handle is text here; CPUUsage and MemoryUsage are reals kept as "%.6f"
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

// 1040 NVX4_OS_NetworkUsage.
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

// 1041 NVX4_OS_ApplicationEventLog.
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

// 1042 NVX4_OS_SecurityEventLog. Same fields as the application event log.
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

// 1043 NVX4_OS_SystemEventLog. Same fields as the application event log.
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

// 1044 NVX4_OS_SysInfo.
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

// 1045 NVX4_OS_SMART.
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
