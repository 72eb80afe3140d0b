// The class table: the 45 management classes by identifier, with their repository class, record
// type and element size on the 32-bit target, and the dispatch from an identifier to its record
// type. Every fact about a class is written once, in NVX4_CLASSES; what can be derived or checked
// from it is, at compile time, at the end of this header.
#ifndef NVX4_CLASS_TABLE_H
#define NVX4_CLASS_TABLE_H

#include <array>
#include <cstddef>
#include <type_traits>

#include "nvx4/RecordLayout.h"
#include "nvx4/Records.h"
#include "nvx4/IpmiFields.h"
#include "nvx4/OsFields.h"
#include "nvx4/SmbiosFields.h"

// One row per class: identifier, record type (the repository class is its name with the prefix
// NVX4_), bytes per record on the 32-bit target the agent is built for (with a 16-byte string).
// Identifiers ascend from 1001 without gaps.
#define NVX4_CLASSES(CLASS)                       \
    CLASS(1001, SMBIOS_BIOS, 52)                  \
    CLASS(1002, SMBIOS_Fan, 100)                  \
    CLASS(1003, SMBIOS_HeatPipe, 76)              \
    CLASS(1004, SMBIOS_Refrigeration, 76)         \
    CLASS(1005, SMBIOS_TemperatureProbe, 200)     \
    CLASS(1006, SMBIOS_VoltageProbe, 200)         \
    CLASS(1007, SMBIOS_ComputerSystemProduct, 68) \
    CLASS(1008, SMBIOS_Processor, 148)            \
    CLASS(1009, SMBIOS_SystemEventLog, 60)        \
    CLASS(1010, SMBIOS_SystemEventLogRecord, 108) \
    CLASS(1011, SMBIOS_PhysicalMemoryArray, 84)   \
    CLASS(1012, SMBIOS_PhysicalMemory, 108)       \
    CLASS(1013, SMBIOS_Baseboard, 68)             \
    CLASS(1014, SMBIOS_Cache, 60)                 \
    CLASS(1015, SMBIOS_PortConnector, 56)         \
    CLASS(1016, SMBIOS_MemoryController, 96)      \
    CLASS(1017, SMBIOS_MemoryModule, 88)          \
    CLASS(1018, SMBIOS_Slot, 104)                 \
    CLASS(1019, SMBIOS_OnboardDevice, 44)         \
    CLASS(1020, SMBIOS_HWSecurity, 40)            \
    CLASS(1021, IPMI_BMC, 144)                    \
    CLASS(1022, IPMI_Watchdog, 100)               \
    CLASS(1023, IPMI_FRU, 268)                    \
    CLASS(1024, IPMI_ChassisStatus, 180)          \
    CLASS(1025, IPMI_DiscreteSensor, 112)         \
    CLASS(1026, IPMI_NumericSensor, 424)          \
    CLASS(1027, IPMI_SEL, 120)                    \
    CLASS(1028, IPMI_SELRecord, 152)              \
    CLASS(1029, IPMI_LatestSELRecord, 152)        \
    CLASS(1030, IPMI_Channel, 152)                \
    CLASS(1031, IPMI_LANUser, 100)                \
    CLASS(1032, IPMI_LANConfiguration, 188)       \
    CLASS(1033, IPMI_LANStatistics, 56)           \
    CLASS(1034, IPMI_EventFilter, 108)            \
    CLASS(1035, IPMI_AlertPolicy, 76)             \
    CLASS(1036, OS_CPUUsage, 44)                  \
    CLASS(1037, OS_MemoryUsage, 96)               \
    CLASS(1038, OS_DiskUsage, 84)                 \
    CLASS(1039, OS_Process, 188)                  \
    CLASS(1040, OS_NetworkUsage, 60)              \
    CLASS(1041, OS_ApplicationEventLog, 116)      \
    CLASS(1042, OS_SecurityEventLog, 116)         \
    CLASS(1043, OS_SystemEventLog, 116)           \
    CLASS(1044, OS_SysInfo, 104)                  \
    CLASS(1045, OS_SMART, 100)

namespace nvx4 {

struct ClassInfo {
    int id;
    const char* repositoryClass;
    const char* recordType;
    int elementSize;  // bytes per record on the 32-bit target, with a 16-byte string
};

template <class Record>
struct RecordTag {
    using type = Record;
};

template <int Id, class Record>
struct ClassEntry {
    static constexpr int id = Id;
    using record = Record;
};

template <class... Entries>
struct RecordList {
    // Calls visitor(RecordTag<R>{}) for the record type R of `classId`; false when none has it.
    template <class Visitor>
    static bool visit(int classId, Visitor&& visitor) {
        return ((Entries::id == classId ? (visitor(RecordTag<typename Entries::record>{}), true)
                                        : false) ||
                ...);
    }

    // The identifier of a record type: the sum over its rows (0 for none, a wrong one for two).
    template <class Record>
    static constexpr int idOf() {
        return ((std::is_same_v<Record, typename Entries::record> ? Entries::id : 0) + ... + 0);
    }

    // The list with one more entry at the end, which is how AllRecords is built from the rows.
    template <class Entry>
    constexpr RecordList<Entries..., Entry> operator+(Entry) const {
        return {};
    }
};

#define NVX4_CLASS_ENTRY(id, Record, elementSize) +ClassEntry<id, Record>()
#define NVX4_CLASS_INFO(id, Record, elementSize) \
    ClassInfo{id, "NVX4_" #Record, #Record, elementSize},

// Every record type with a field table, in identifier order.
using AllRecords = decltype(RecordList<>() NVX4_CLASSES(NVX4_CLASS_ENTRY));

inline constexpr std::array kClassTable{NVX4_CLASSES(NVX4_CLASS_INFO)};

#undef NVX4_CLASS_ENTRY
#undef NVX4_CLASS_INFO

inline constexpr int kClassCount = static_cast<int>(kClassTable.size());
inline constexpr int kFirstClassId = 1001;
inline constexpr int kLastClassId = kFirstClassId + kClassCount - 1;

// The row of a class identifier, or null for an unknown one.
constexpr const ClassInfo* findClass(int classId) {
    if (classId < kFirstClassId || classId > kLastClassId) return nullptr;
    return &kClassTable[static_cast<std::size_t>(classId - kFirstClassId)];
}

template <class Record>
constexpr int classIdOf() {
    return AllRecords::idOf<Record>();
}

// Compile-time checks of the table against itself and against the record types and their field
// tables.
namespace classcheck {

constexpr bool idsAscendWithoutGaps() {
    for (int i = 0; i < kClassCount; ++i)
        if (kClassTable[static_cast<std::size_t>(i)].id != kFirstClassId + i) return false;
    return true;
}

template <class Record>
constexpr bool hasPlainIndex() {
    if constexpr (HasIndex<Record>::value)
        return std::is_same_v<decltype(Record::Index), unsigned short>;
    return true;
}

// A record is a plain aggregate whose field table covers every member: its size here is the one
// the layout rule gives for its table, and so is its row's element size on the agent's target.
template <class Record>
constexpr bool recordMatchesItsTable(const ClassInfo& info) {
    return std::is_aggregate_v<Record> && !std::is_polymorphic_v<Record> &&
           hasPlainIndex<Record>() &&
           layout::layoutOf<Record>(layout::kThisTarget).size == sizeof(Record) &&
           layout::layoutOf<Record>(layout::kAgentTarget).size ==
               static_cast<std::size_t>(info.elementSize);
}

#define NVX4_CHECK_CLASS(id, Record, elementSize)                                \
    static_assert(recordMatchesItsTable<Record>(*findClass(id)),                 \
                  #Record ": the record, its field table and its row disagree"); \
    static_assert(classIdOf<Record>() == id, #Record ": listed twice");
NVX4_CLASSES(NVX4_CHECK_CLASS)
#undef NVX4_CHECK_CLASS

static_assert(idsAscendWithoutGaps(), "class identifiers ascend from 1001 without gaps");
static_assert(findClass(kFirstClassId - 1) == nullptr && findClass(kLastClassId + 1) == nullptr);

}  // namespace classcheck
}  // namespace nvx4

#endif
