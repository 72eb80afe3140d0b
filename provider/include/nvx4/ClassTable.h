// The class table: the 45 management classes by identifier, with their repository class, record
// type and element size on the 32-bit target, and the dispatch from an identifier to its record
// type.
#ifndef NVX4_CLASS_TABLE_H
#define NVX4_CLASS_TABLE_H

#include <cstddef>

#include "nvx4/Records.h"
#include "nvx4/IpmiFields.h"
#include "nvx4/OsFields.h"
#include "nvx4/SmbiosFields.h"

namespace nvx4 {

struct ClassInfo {
    int id;
    const char* repositoryClass;
    const char* recordType;
    int elementSize;  // bytes per record on the 32-bit target, with a 16-byte string
};

inline constexpr int kFirstClassId = 1001;
inline constexpr int kLastClassId = 1045;

inline constexpr ClassInfo kClassTable[] = {
    {1001, "NVX4_SMBIOS_BIOS", "SMBIOS_BIOS", 52},
    {1002, "NVX4_SMBIOS_Fan", "SMBIOS_Fan", 100},
    {1003, "NVX4_SMBIOS_HeatPipe", "SMBIOS_HeatPipe", 76},
    {1004, "NVX4_SMBIOS_Refrigeration", "SMBIOS_Refrigeration", 76},
    {1005, "NVX4_SMBIOS_TemperatureProbe", "SMBIOS_TemperatureProbe", 200},
    {1006, "NVX4_SMBIOS_VoltageProbe", "SMBIOS_VoltageProbe", 200},
    {1007, "NVX4_SMBIOS_ComputerSystemProduct", "SMBIOS_ComputerSystemProduct", 68},
    {1008, "NVX4_SMBIOS_Processor", "SMBIOS_Processor", 148},
    {1009, "NVX4_SMBIOS_SystemEventLog", "SMBIOS_SystemEventLog", 60},
    {1010, "NVX4_SMBIOS_SystemEventLogRecord", "SMBIOS_SystemEventLogRecord", 108},
    {1011, "NVX4_SMBIOS_PhysicalMemoryArray", "SMBIOS_PhysicalMemoryArray", 84},
    {1012, "NVX4_SMBIOS_PhysicalMemory", "SMBIOS_PhysicalMemory", 108},
    {1013, "NVX4_SMBIOS_Baseboard", "SMBIOS_Baseboard", 68},
    {1014, "NVX4_SMBIOS_Cache", "SMBIOS_Cache", 60},
    {1015, "NVX4_SMBIOS_PortConnector", "SMBIOS_PortConnector", 56},
    {1016, "NVX4_SMBIOS_MemoryController", "SMBIOS_MemoryController", 96},
    {1017, "NVX4_SMBIOS_MemoryModule", "SMBIOS_MemoryModule", 88},
    {1018, "NVX4_SMBIOS_Slot", "SMBIOS_Slot", 104},
    {1019, "NVX4_SMBIOS_OnboardDevice", "SMBIOS_OnboardDevice", 44},
    {1020, "NVX4_SMBIOS_HWSecurity", "SMBIOS_HWSecurity", 40},
    {1021, "NVX4_IPMI_BMC", "IPMI_BMC", 144},
    {1022, "NVX4_IPMI_Watchdog", "IPMI_Watchdog", 100},
    {1023, "NVX4_IPMI_FRU", "IPMI_FRU", 268},
    {1024, "NVX4_IPMI_ChassisStatus", "IPMI_ChassisStatus", 180},
    {1025, "NVX4_IPMI_DiscreteSensor", "IPMI_DiscreteSensor", 112},
    {1026, "NVX4_IPMI_NumericSensor", "IPMI_NumericSensor", 424},
    {1027, "NVX4_IPMI_SEL", "IPMI_SEL", 120},
    {1028, "NVX4_IPMI_SELRecord", "IPMI_SELRecord", 152},
    {1029, "NVX4_IPMI_LatestSELRecord", "IPMI_LatestSELRecord", 152},
    {1030, "NVX4_IPMI_Channel", "IPMI_Channel", 152},
    {1031, "NVX4_IPMI_LANUser", "IPMI_LANUser", 100},
    {1032, "NVX4_IPMI_LANConfiguration", "IPMI_LANConfiguration", 188},
    {1033, "NVX4_IPMI_LANStatistics", "IPMI_LANStatistics", 56},
    {1034, "NVX4_IPMI_EventFilter", "IPMI_EventFilter", 108},
    {1035, "NVX4_IPMI_AlertPolicy", "IPMI_AlertPolicy", 76},
    {1036, "NVX4_OS_CPUUsage", "OS_CPUUsage", 44},
    {1037, "NVX4_OS_MemoryUsage", "OS_MemoryUsage", 96},
    {1038, "NVX4_OS_DiskUsage", "OS_DiskUsage", 84},
    {1039, "NVX4_OS_Process", "OS_Process", 188},
    {1040, "NVX4_OS_NetworkUsage", "OS_NetworkUsage", 60},
    {1041, "NVX4_OS_ApplicationEventLog", "OS_ApplicationEventLog", 116},
    {1042, "NVX4_OS_SecurityEventLog", "OS_SecurityEventLog", 116},
    {1043, "NVX4_OS_SystemEventLog", "OS_SystemEventLog", 116},
    {1044, "NVX4_OS_SysInfo", "OS_SysInfo", 104},
    {1045, "NVX4_OS_SMART", "OS_SMART", 100},
};

// The row of a class identifier, or null for an unknown one.
constexpr const ClassInfo* findClass(int classId) {
    if (classId < kFirstClassId || classId > kLastClassId) return nullptr;
    return &kClassTable[classId - kFirstClassId];
}

template <class Record>
struct RecordTag {
    using type = Record;
};

template <class... Records>
struct RecordList {
    // Calls visitor(RecordTag<R>{}) for the record type R of `classId`; false when none has it.
    template <class Visitor>
    static bool visit(int classId, Visitor&& visitor) {
        return ((RecordTraits<Records>::classId == classId ? (visitor(RecordTag<Records>{}), true)
                                                           : false) ||
                ...);
    }
};

// Every record type with a field table, in identifier order.
using AllRecords = RecordList<
    SMBIOS_BIOS, SMBIOS_Fan, SMBIOS_HeatPipe, SMBIOS_Refrigeration, SMBIOS_TemperatureProbe,
    SMBIOS_VoltageProbe, SMBIOS_ComputerSystemProduct, SMBIOS_Processor, SMBIOS_SystemEventLog,
    SMBIOS_SystemEventLogRecord, SMBIOS_PhysicalMemoryArray, SMBIOS_PhysicalMemory,
    SMBIOS_Baseboard, SMBIOS_Cache, SMBIOS_PortConnector, SMBIOS_MemoryController,
    SMBIOS_MemoryModule, SMBIOS_Slot, SMBIOS_OnboardDevice, SMBIOS_HWSecurity, IPMI_BMC,
    IPMI_Watchdog, IPMI_FRU, IPMI_ChassisStatus, IPMI_DiscreteSensor, IPMI_NumericSensor, IPMI_SEL,
    IPMI_SELRecord, IPMI_LatestSELRecord, IPMI_Channel, IPMI_LANUser, IPMI_LANConfiguration,
    IPMI_LANStatistics, IPMI_EventFilter, IPMI_AlertPolicy, OS_CPUUsage, OS_MemoryUsage,
    OS_DiskUsage, OS_Process, OS_NetworkUsage, OS_ApplicationEventLog, OS_SecurityEventLog,
    OS_SystemEventLog, OS_SysInfo, OS_SMART>;

}  // namespace nvx4

#endif
