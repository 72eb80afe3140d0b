// Field tables of the operating-system records.
#ifndef NVX4_OS_FIELDS_H
#define NVX4_OS_FIELDS_H

#include "nvx4/FieldTable.h"
#include "nvx4/OsRecords.h"

namespace nvx4 {

template <>
struct RecordTraits<OS_CPUUsage> {
    using R = OS_CPUUsage;
    static constexpr Field<R> fields[] = {
        textField("SystemName", &R::SystemName), textField("Name", &R::Name),
        shortField("UserMode", &R::UserMode),    shortField("SystemMode", &R::SystemMode),
        shortField("CPUUsage", &R::CPUUsage),
    };
};

template <>
struct RecordTraits<OS_MemoryUsage> {
    using R = OS_MemoryUsage;
    static constexpr Field<R> fields[] = {
        textField("SystemName", &R::SystemName),       textField("Name", &R::Name),
        realTextField("TotalMemory", &R::TotalMemory), realTextField("FreeMemory", &R::FreeMemory),
        realTextField("TotalSwap", &R::TotalSwap),     realTextField("FreeSwap", &R::FreeSwap),
    };
};

template <>
struct RecordTraits<OS_DiskUsage> {
    using R = OS_DiskUsage;
    static constexpr Field<R> fields[] = {
        textField("SystemName", &R::SystemName),   textField("DeviceID", &R::DeviceID),
        textField("Description", &R::Description), textField("Size", &R::Size),
        textField("FreeSpace", &R::FreeSpace),
    };
};

template <>
struct RecordTraits<OS_Process> {
    using R = OS_Process;
    static constexpr Field<R> fields[] = {
        textField("SystemName", &R::SystemName),
        textField("Handle", &R::Handle),
        textField("Name", &R::Name),
        integerField("Priority", &R::Priority),
        textField("CreationDate", &R::CreationDate),
        textField("UserModeTime", &R::UserModeTime),
        textField("KernelModeTime", &R::KernelModeTime),
        integerField("ParentProcessID", &R::ParentProcessID),
        textField("WorkingSetSize", &R::WorkingSetSize),
        shortTextField("ExecutionState", &R::ExecutionState),
        textField("ElapsedTime", &R::ElapsedTime),
        realTextField("CPUUsage", &R::CPUUsage),
        realTextField("MemoryUsage", &R::MemoryUsage),
    };
};

template <>
struct RecordTraits<OS_NetworkUsage> {
    using R = OS_NetworkUsage;
    static constexpr Field<R> fields[] = {
        textField("SystemName", &R::SystemName),
        textField("Name", &R::Name),
        integerField("ByteTotalPerSec", &R::ByteTotalPerSec),
        integerField("ByteSentPerSec", &R::ByteSentPerSec),
        integerField("ByteReceivedPerSec", &R::ByteReceivedPerSec),
        integerField("PacketTotalPerSec", &R::PacketTotalPerSec),
        integerField("PacketSentPerSec", &R::PacketSentPerSec),
        integerField("PacketReceivedPerSec", &R::PacketReceivedPerSec),
    };
};

// The application, security and system event logs publish the same properties.
template <class R>
struct EventLogFields {
    static constexpr Field<R> fields[] = {
        textField("SystemName", &R::SystemName),
        textField("RecordID", &R::RecordID),
        textField("MessageTimestamp", &R::MessageTimestamp),
        textField("SourceName", &R::SourceName),
        textField("Type", &R::Type),
        textField("User", &R::User),
        textField("Description", &R::Description),
    };
};

template <>
struct RecordTraits<OS_ApplicationEventLog> : EventLogFields<OS_ApplicationEventLog> {};

template <>
struct RecordTraits<OS_SecurityEventLog> : EventLogFields<OS_SecurityEventLog> {};

template <>
struct RecordTraits<OS_SystemEventLog> : EventLogFields<OS_SystemEventLog> {};

template <>
struct RecordTraits<OS_SysInfo> {
    using R = OS_SysInfo;
    static constexpr Field<R> fields[] = {
        textField("SystemName", &R::SystemName),
        textField("OSArch", &R::OSArch),
        shortTextField("OSType", &R::OSType),
        textField("Version", &R::Version),
        textField("Name", &R::Name),
        textField("IPAddress", &R::IPAddress),
        integerField("NumberOfUsers", &R::NumberOfUsers),
        integerField("NumberOfProcesses", &R::NumberOfProcesses),
    };
};

template <>
struct RecordTraits<OS_SMART> {
    using R = OS_SMART;
    static constexpr Field<R> fields[] = {
        textField("SystemName", &R::SystemName),
        textField("DiskID", &R::DiskID),
        shortTextField("DiskType", &R::DiskType),
        textField("ModelName", &R::ModelName),
        textField("SerialNumber", &R::SerialNumber),
        shortField("SMARTAttrRevision", &R::SMARTAttrRevision),
        shortField("SMARTThresholdRevision", &R::SMARTThresholdRevision),
        textField("SMARTAlert", &R::SMARTAlert),
    };
};

}  // namespace nvx4

#endif
