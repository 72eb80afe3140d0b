// Baseboard management controller records, read over IPMI.
#ifndef NVX4_IPMI_RECORDS_H
#define NVX4_IPMI_RECORDS_H

#include <string>

struct IPMI_BMC {
    std::string DeviceID;
    std::string SystemName;
    std::string DeviceRevision;
    std::string FirmwareVersion;
    std::string IpmiVersion;
    std::string ManufacuturerID;
    std::string ProductID;
    std::string Status;
    std::string SDRVersion;
};

struct IPMI_Watchdog {
    std::string DeviceID;
    std::string SystemName;
    short ActionOnExpiration;
    std::string MonitoredEntity;
    int TimeoutInterval;
    int TimerResolution;
    std::string LogTimeout;
    std::string TimerStop;
    int PresentValue;
    short PreTimeoutInterrupt;
    short PreTimeoutInterval;
};

struct IPMI_FRU {
    std::string SystemName;
    short ChassisType;
    std::string ChassisPartNumber;
    std::string ChassisSerialNumber;
    short BoardLangCode;
    std::string BoardMfgDateTime;
    std::string BoardManufacturer;
    std::string BoardProductName;
    std::string BoardSerialNumber;
    std::string BoardPartNumber;
    std::string BoardFRUFileID;
    short ProductLangCode;
    std::string ProductManufacturerName;
    std::string ProductName;
    std::string ProductPartModelNumber;
    std::string ProductVersion;
    std::string ProductSerialNumber;
    std::string ProductAssetTag;
    std::string ProductFRUFileID;
};

struct IPMI_ChassisStatus {
    std::string SystemName;
    short PowerRestorePolicy;
    std::string PowerControlFault;
    std::string PowerFault;
    std::string Interlock;
    std::string PowerOverload;
    std::string PowerIsOn;
    std::string LastPowerEvent;
    std::string CoolingFanFault;
    std::string DriverFault;
    std::string FrontPanelLockout;
    std::string ChassisIntrusion;
};

struct IPMI_DiscreteSensor {
    unsigned short Index;
    std::string DeviceID;
    std::string SystemName;
    std::string Name;
    std::string CurrentState;
    std::string SensorType;
    short OwnerID;
    short OwnerLun;
    short SensorNumber;
    short EntityID;
    std::string EntityInstance;
    short EventReadingType;
};

// Every real is kept as "%.6f" text; Tolerance is an integer here.
struct IPMI_NumericSensor {
    unsigned short Index;
    std::string DeviceID;
    std::string SystemName;
    std::string Name;
    short RateUnits;
    int Tolerance;
    std::string IsLinear;
    std::string Accuracy;
    std::string CurrentState;
    std::string SensorType;
    std::string BaseUnits;
    std::string CurrentReading;
    std::string ModifierUnit;
    std::string NormalMax;
    std::string NormalMin;
    std::string MaxReadable;
    std::string MinReadable;
    std::string NominalReading;
    short OwnerID;
    short OwnerLun;
    short SensorNumber;
    short EntityID;
    std::string EntityInstance;
    short EventReadingType;
    std::string Modifier;
    std::string LowerThresholdNonCritical;
    std::string UpperThresholdNonCritical;
    std::string LowerThresholdCritical;
    std::string UpperThresholdCritical;
    std::string LowerThresholdFatal;
    std::string UpperThresholdFatal;
    std::string PositiveHysteresis;
    std::string NegativeHysteresis;
};

struct IPMI_SEL {
    std::string Name;
    std::string SystemName;
    int CurrentNumberOfRecords;
    std::string TimeOfLastChange;
    std::string CurrentClock;
    std::string Version;
    int FreeSpace;
    std::string OperationSupport;
    std::string Overflow;
};

struct IPMI_SELRecord {
    unsigned short Index;
    std::string LogName;
    std::string RecordID;
    std::string MessageTimestamp;
    std::string SystemName;
    std::string GeneratorID;
    short SensorType;
    std::string SensorName;
    short SensorNumber;
    short EventType;
    std::string EventData;
    short EventDir;
    short GeneratorType;
    short ChannelNumber;
    std::string EvMRev;
    short Severity;
};

// Field for field the same as IPMI_SELRecord; only the repository
// class differs.
struct IPMI_LatestSELRecord {
    unsigned short Index;
    std::string LogName;
    std::string RecordID;
    std::string MessageTimestamp;
    std::string SystemName;
    std::string GeneratorID;
    short SensorType;
    std::string SensorName;
    short SensorNumber;
    short EventType;
    std::string EventData;
    short EventDir;
    short GeneratorType;
    short ChannelNumber;
    std::string EvMRev;
    short Severity;
};

struct IPMI_Channel {
    unsigned short Index;
    std::string ChannelNumber;
    std::string SystemName;
    std::string MediumType;
    std::string ProtocolType;
    std::string SessionSupport;
    short ActiveSessionCount;
    short VenderID;
    std::string AlertingEnabled;
    std::string PerMsgAuthentication;
    std::string AccessMode;
    std::string PrivilegeLimit;
};

struct IPMI_LANUser {
    unsigned short Index;
    std::string ChannelNumber;
    std::string UserID;
    std::string SystemName;
    std::string UserName;
    std::string Enabled;
    std::string PrivilegeLimit;
};

struct IPMI_LANConfiguration {
    unsigned short Index;
    std::string ChannelNumber;
    std::string SystemName;
    std::string IPAddress;
    std::string IPAddressSource;
    std::string MACAddress;
    std::string SubnetMask;
    short TimeToLive;
    std::string DefaultGatewayAddress;
    std::string DefaultGatewayMACAddress;
    std::string BackupGatewayAddress;
    std::string BackupGatewayMACAddress;
    std::string CommunityString;
    short NumberOfDestinations;
};

// All nine packet counters keep only their low 16 bits.
struct IPMI_LANStatistics {
    unsigned short Index;
    std::string ChannelNumber;
    std::string SystemName;
    short IPPacketsReceived;
    short ReceivedIPHeaderErrors;
    short ReceivedIPAddressErrors;
    short FragmentedIPPackagesReceived;
    short IPPacketsTransmitted;
    short UDPPacketsReceived;
    short ValidRMCPPacketsReceived;
    short UDPProxyPacketsReceived;
    short UDPProxyPacketsDropped;
};

struct IPMI_EventFilter {
    unsigned short Index;
    std::string EntryNumber;
    std::string SystemName;
    std::string Enabled;
    std::string FilterType;
    short EventFilterAction;
    short AlertPolicyNumber;
    std::string SensorType;
    short SensorNumber;
    short EventOffsetMask;
    std::string EventOffsetMaskDescription;
};

struct IPMI_AlertPolicy {
    unsigned short Index;
    std::string EntryNumber;
    std::string SystemName;
    short PolicyNumber;
    std::string Enabled;
    std::string Policy;
    short ChannelNumber;
    short DestinationSelector;
};

#endif
