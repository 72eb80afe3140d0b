// Field tables of the hardware inventory records, read from the SMBIOS tables.
#ifndef NVX4_SMBIOS_FIELDS_H
#define NVX4_SMBIOS_FIELDS_H

#include "nvx4/FieldTable.h"
#include "nvx4/SmbiosRecords.h"

namespace nvx4 {

template <>
struct RecordTraits<SMBIOS_BIOS> {
    using R = SMBIOS_BIOS;
    static constexpr Field<R> fields[] = {
        integerField("Handle", &R::Handle),
        textField("Version", &R::Version),
        textField("ReleaseDate", &R::ReleaseDate),
        textField("Manufacturer", &R::Manufacturer),
    };
};

template <>
struct RecordTraits<SMBIOS_Fan> {
    using R = SMBIOS_Fan;
    static constexpr Field<R> fields[] = {
        textField("CreationClassName", &R::CreationClassName),
        textField("DeviceID", &R::DeviceID),
        textField("SystemCreationClassName", &R::SystemCreationClassName),
        integerField("Handle", &R::Handle),
        booleanTextField("Status", &R::Status),
        shortField("CoolingUnitGroup", &R::CoolingUnitGroup),
        integerField("NominalSpeed", &R::NominalSpeed),
        integerField("MinimumThreshold", &R::MinimumThreshold),
        shortTextField("BaseUnits", &R::BaseUnits),
    };
};

// Heat pipes and refrigeration units are cooling devices with the same properties.
template <class R>
struct CoolingDeviceFields {
    static constexpr Field<R> fields[] = {
        textField("CreationClassName", &R::CreationClassName),
        textField("DeviceID", &R::DeviceID),
        textField("SystemCreationClassName", &R::SystemCreationClassName),
        integerField("Handle", &R::Handle),
        textField("Status", &R::Status),
        shortField("CoolingUnitGroup", &R::CoolingUnitGroup),
    };
};

template <>
struct RecordTraits<SMBIOS_HeatPipe> : CoolingDeviceFields<SMBIOS_HeatPipe> {};

template <>
struct RecordTraits<SMBIOS_Refrigeration> : CoolingDeviceFields<SMBIOS_Refrigeration> {};

// Temperature and voltage probes publish the same properties.
template <class R>
struct ProbeFields {
    static constexpr Field<R> fields[] = {
        textField("CreationClassName", &R::CreationClassName),
        textField("DeviceID", &R::DeviceID),
        textField("SystemCreationClassName", &R::SystemCreationClassName),
        integerField("Handle", &R::Handle),
        textField("Description", &R::Description),
        textField("Status", &R::Status),
        realTextField("MaxReadable", &R::MaxReadable),
        realTextField("MinReadable", &R::MinReadable),
        realTextField("Tolerance", &R::Tolerance),
        realTextField("Accuracy", &R::Accuracy),
        realTextField("NominalReading", &R::NominalReading),
        realTextField("Resolution", &R::Resolution),
        shortTextField("BaseUnits", &R::BaseUnits),
    };
};

template <>
struct RecordTraits<SMBIOS_TemperatureProbe> : ProbeFields<SMBIOS_TemperatureProbe> {};

template <>
struct RecordTraits<SMBIOS_VoltageProbe> : ProbeFields<SMBIOS_VoltageProbe> {};

template <>
struct RecordTraits<SMBIOS_ComputerSystemProduct> {
    using R = SMBIOS_ComputerSystemProduct;
    static constexpr Field<R> fields[] = {
        integerField("Handle", &R::Handle), textField("IdentifyingNumber", &R::IdentifyingNumber),
        textField("Name", &R::Name),        textField("Vendor", &R::Vendor),
        textField("Version", &R::Version),
    };
};

template <>
struct RecordTraits<SMBIOS_Processor> {
    using R = SMBIOS_Processor;
    static constexpr Field<R> fields[] = {
        integerField("Handle", &R::Handle),
        textField("ProcessorManufacturer", &R::ProcessorManufacturer),
        textField("SocketDesignation", &R::SocketDesignation),
        textField("SocketStatus", &R::SocketStatus),
        textField("ProcessorStatus", &R::ProcessorStatus),
        textField("ProcessorVersion", &R::ProcessorVersion),
        textField("SerialNumber", &R::SerialNumber),
        textField("PartNumber", &R::PartNumber),
        shortTextField("ProcessorFamily", &R::ProcessorFamily),
        integerField("MaxSpeed", &R::MaxSpeed),
        integerField("ExtClock", &R::ExtClock),
        integerField("CurrentClockSpeed", &R::CurrentClockSpeed),
    };
};

template <>
struct RecordTraits<SMBIOS_SystemEventLog> {
    using R = SMBIOS_SystemEventLog;
    static constexpr Field<R> fields[] = {
        integerField("Handle", &R::Handle),
        integerField("LogAreaLength", &R::LogAreaLength),
        textField("AccessMethod", &R::AccessMethod),
        shortField("NumberOfSupportedLogTypeDescriptors", &R::NumberOfSupportedLogTypeDescriptors),
        shortField("LengthOfeachLogTypeDescriptor", &R::LengthOfeachLogTypeDescriptor),
        textField("ListOfSupportedEventLogDescriptors", &R::ListOfSupportedEventLogDescriptors),
        textField("Status", &R::Status),
    };
};

template <>
struct RecordTraits<SMBIOS_SystemEventLogRecord> {
    using R = SMBIOS_SystemEventLogRecord;
    static constexpr Field<R> fields[] = {
        textField("CreationClassName", &R::CreationClassName),
        textField("LogCreationClassName", &R::LogCreationClassName),
        textField("LogName", &R::LogName),
        textField("MessageTimestamp", &R::MessageTimestamp),
        shortField("RecordID", &R::RecordID),
        textField("Description", &R::Description),
        textField("EventType", &R::EventType),
        shortField("RecordLength", &R::RecordLength),
        shortField("Severity", &R::Severity),
    };
};

template <>
struct RecordTraits<SMBIOS_PhysicalMemoryArray> {
    using R = SMBIOS_PhysicalMemoryArray;
    static constexpr Field<R> fields[] = {
        integerField("Handle", &R::Handle),
        textField("MemoryErrorCorrection", &R::MemoryErrorCorrection),
        integerField("TotalInstalledMemory", &R::TotalInstalledMemory),
        integerField("NumberOfMemoryDevice", &R::NumberOfMemoryDevice),
        shortTextField("MemoryArrayUse", &R::MemoryArrayUse),
        shortTextField("Location", &R::Location),
        integerField("MaximumCapacity", &R::MaximumCapacity),
        textField("Description", &R::Description),
    };
};

template <>
struct RecordTraits<SMBIOS_PhysicalMemory> {
    using R = SMBIOS_PhysicalMemory;
    static constexpr Field<R> fields[] = {
        integerField("Handle", &R::Handle),
        textField("Size", &R::Size),
        shortTextField("MemoryType", &R::MemoryType),
        textField("BusSpeed", &R::BusSpeed),
        integerField("MemoryArrayHandle", &R::MemoryArrayHandle),
        textField("Description", &R::Description),
        textField("InstalledSize", &R::InstalledSize),
        textField("EnabledSize", &R::EnabledSize),
    };
};

template <>
struct RecordTraits<SMBIOS_Baseboard> {
    using R = SMBIOS_Baseboard;
    static constexpr Field<R> fields[] = {
        integerField("Handle", &R::Handle),        shortTextField("BoardType", &R::BoardType),
        textField("BaseboardID", &R::BaseboardID), textField("SerialNumber", &R::SerialNumber),
        textField("Version", &R::Version),
    };
};

template <>
struct RecordTraits<SMBIOS_Cache> {
    using R = SMBIOS_Cache;
    static constexpr Field<R> fields[] = {
        integerField("Handle", &R::Handle),     textField("CacheLevel", &R::CacheLevel),
        textField("Location", &R::Location),    textField("ProcessorNumber", &R::ProcessorNumber),
        shortField("CacheSize", &R::CacheSize),
    };
};

template <>
struct RecordTraits<SMBIOS_PortConnector> {
    using R = SMBIOS_PortConnector;
    static constexpr Field<R> fields[] = {
        integerField("Handle", &R::Handle),
        textField("Port", &R::Port),
        shortTextField("ConnectorType", &R::ConnectorType),
        shortTextField("PortType", &R::PortType),
    };
};

template <>
struct RecordTraits<SMBIOS_MemoryController> {
    using R = SMBIOS_MemoryController;
    static constexpr Field<R> fields[] = {
        integerField("Handle", &R::Handle),
        integerField("MaxMemModuleSize", &R::MaxMemModuleSize),
        textField("SupportedSpeed", &R::SupportedSpeed),
        textField("SupportedMemType", &R::SupportedMemType),
        shortField("NumOfAssociateMemSlot", &R::NumOfAssociateMemSlot),
        shortTextField("ErrorDetectingMethod", &R::ErrorDetectingMethod),
        textField("ErrorCorrectingCapability", &R::ErrorCorrectingCapability),
        shortTextField("CurrentInterleave", &R::CurrentInterleave),
    };
};

template <>
struct RecordTraits<SMBIOS_MemoryModule> {
    using R = SMBIOS_MemoryModule;
    static constexpr Field<R> fields[] = {
        integerField("Handle", &R::Handle),        textField("MemoryType", &R::MemoryType),
        textField("MemorySpeed", &R::MemorySpeed), textField("InstalledSize", &R::InstalledSize),
        textField("EnabledSize", &R::EnabledSize), textField("SlotNumber", &R::SlotNumber),
    };
};

template <>
struct RecordTraits<SMBIOS_Slot> {
    using R = SMBIOS_Slot;
    static constexpr Field<R> fields[] = {
        integerField("Handle", &R::Handle),
        shortTextField("SlotType", &R::SlotType),
        shortTextField("SlotLength", &R::SlotLength),
        shortTextField("CurrentUsage", &R::CurrentUsage),
        shortTextField("SlotDataBusWidth", &R::SlotDataBusWidth),
        textField("SlotNumber", &R::SlotNumber),
        textField("PCISlotCharacter", &R::PCISlotCharacter),
    };
};

template <>
struct RecordTraits<SMBIOS_OnboardDevice> {
    using R = SMBIOS_OnboardDevice;
    static constexpr Field<R> fields[] = {
        integerField("Handle", &R::Handle),
        integerField("SubHandle", &R::SubHandle),
        textField("DeviceType", &R::DeviceType),
        textField("Description", &R::Description),
    };
};

template <>
struct RecordTraits<SMBIOS_HWSecurity> {
    using R = SMBIOS_HWSecurity;
    static constexpr Field<R> fields[] = {
        integerField("Handle", &R::Handle),
        textField("PowerOnPasswdStatus", &R::PowerOnPasswdStatus),
        textField("KeyboardPasswdStatus", &R::KeyboardPasswdStatus),
    };
};

}  // namespace nvx4

#endif
