// Hardware inventory records, read from the SMBIOS tables.
#ifndef NVX4_SMBIOS_RECORDS_H
#define NVX4_SMBIOS_RECORDS_H

#include <string>

struct SMBIOS_BIOS {
    int Handle;
    std::string Version;
    std::string ReleaseDate;
    std::string Manufacturer;
};

// Status is a boolean here, unlike the other cooling and probe classes.
struct SMBIOS_Fan {
    unsigned short Index;
    std::string CreationClassName;
    std::string DeviceID;
    std::string SystemCreationClassName;
    int Handle;
    std::string Status;
    short CoolingUnitGroup;
    int NominalSpeed;
    int MinimumThreshold;
    std::string BaseUnits;
};

struct SMBIOS_HeatPipe {
    unsigned short Index;
    std::string CreationClassName;
    std::string DeviceID;
    std::string SystemCreationClassName;
    int Handle;
    std::string Status;
    short CoolingUnitGroup;
};

struct SMBIOS_Refrigeration {
    unsigned short Index;
    std::string CreationClassName;
    std::string DeviceID;
    std::string SystemCreationClassName;
    int Handle;
    std::string Status;
    short CoolingUnitGroup;
};

// Readings and limits are reals kept as "%.6f" text.
struct SMBIOS_TemperatureProbe {
    unsigned short Index;
    std::string CreationClassName;
    std::string DeviceID;
    std::string SystemCreationClassName;
    int Handle;
    std::string Description;
    std::string Status;
    std::string MaxReadable;
    std::string MinReadable;
    std::string Tolerance;
    std::string Accuracy;
    std::string NominalReading;
    std::string Resolution;
    std::string BaseUnits;
};

// Same fields as the temperature probe.
struct SMBIOS_VoltageProbe {
    unsigned short Index;
    std::string CreationClassName;
    std::string DeviceID;
    std::string SystemCreationClassName;
    int Handle;
    std::string Description;
    std::string Status;
    std::string MaxReadable;
    std::string MinReadable;
    std::string Tolerance;
    std::string Accuracy;
    std::string NominalReading;
    std::string Resolution;
    std::string BaseUnits;
};

struct SMBIOS_ComputerSystemProduct {
    int Handle;
    std::string IdentifyingNumber;
    std::string Name;
    std::string Vendor;
    std::string Version;
};

struct SMBIOS_Processor {
    unsigned short Index;
    int Handle;
    std::string ProcessorManufacturer;
    std::string SocketDesignation;
    std::string SocketStatus;
    std::string ProcessorStatus;
    std::string ProcessorVersion;
    std::string SerialNumber;
    std::string PartNumber;
    std::string ProcessorFamily;
    int MaxSpeed;
    int ExtClock;
    int CurrentClockSpeed;
};

struct SMBIOS_SystemEventLog {
    int Handle;
    int LogAreaLength;
    std::string AccessMethod;
    short NumberOfSupportedLogTypeDescriptors;
    short LengthOfeachLogTypeDescriptor;
    std::string ListOfSupportedEventLogDescriptors;
    std::string Status;
};

struct SMBIOS_SystemEventLogRecord {
    unsigned short Index;
    std::string CreationClassName;
    std::string LogCreationClassName;
    std::string LogName;
    std::string MessageTimestamp;
    short RecordID;
    std::string Description;
    std::string EventType;
    short RecordLength;
    short Severity;
};

// MemoryArrayUse and Location are enumerated codes kept as
// decimal text.
struct SMBIOS_PhysicalMemoryArray {
    unsigned short Index;
    int Handle;
    std::string MemoryErrorCorrection;
    int TotalInstalledMemory;
    int NumberOfMemoryDevice;
    std::string MemoryArrayUse;
    std::string Location;
    int MaximumCapacity;
    std::string Description;
};

// MemoryType is an enumerated code kept as decimal text.
struct SMBIOS_PhysicalMemory {
    unsigned short Index;
    int Handle;
    std::string Size;
    std::string MemoryType;
    std::string BusSpeed;
    int MemoryArrayHandle;
    std::string Description;
    std::string InstalledSize;
    std::string EnabledSize;
};

struct SMBIOS_Baseboard {
    int Handle;
    std::string BoardType;
    std::string BaseboardID;
    std::string SerialNumber;
    std::string Version;
};

struct SMBIOS_Cache {
    unsigned short Index;
    int Handle;
    std::string CacheLevel;
    std::string Location;
    std::string ProcessorNumber;
    short CacheSize;
};

struct SMBIOS_PortConnector {
    unsigned short Index;
    int Handle;
    std::string Port;
    std::string ConnectorType;
    std::string PortType;
};

struct SMBIOS_MemoryController {
    unsigned short Index;
    int Handle;
    int MaxMemModuleSize;
    std::string SupportedSpeed;
    std::string SupportedMemType;
    short NumOfAssociateMemSlot;
    std::string ErrorDetectingMethod;
    std::string ErrorCorrectingCapability;
    std::string CurrentInterleave;
};

struct SMBIOS_MemoryModule {
    unsigned short Index;
    int Handle;
    std::string MemoryType;
    std::string MemorySpeed;
    std::string InstalledSize;
    std::string EnabledSize;
    std::string SlotNumber;
};

struct SMBIOS_Slot {
    unsigned short Index;
    int Handle;
    std::string SlotType;
    std::string SlotLength;
    std::string CurrentUsage;
    std::string SlotDataBusWidth;
    std::string SlotNumber;
    std::string PCISlotCharacter;
};

struct SMBIOS_OnboardDevice {
    unsigned short Index;
    int Handle;
    int SubHandle;
    std::string DeviceType;
    std::string Description;
};

struct SMBIOS_HWSecurity {
    unsigned short Index;
    int Handle;
    std::string PowerOnPasswdStatus;
    std::string KeyboardPasswdStatus;
};

#endif
