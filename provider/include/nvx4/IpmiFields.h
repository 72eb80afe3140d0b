// Field tables of the baseboard management controller records, read over IPMI.
#ifndef NVX4_IPMI_FIELDS_H
#define NVX4_IPMI_FIELDS_H

#include "nvx4/FieldTable.h"
#include "nvx4/IpmiRecords.h"

namespace nvx4 {

template <>
struct RecordTraits<IPMI_BMC> {
    using R = IPMI_BMC;
    static constexpr Field<R> fields[] = {
        textField("DeviceID", &R::DeviceID),
        textField("SystemName", &R::SystemName),
        textField("DeviceRevision", &R::DeviceRevision),
        textField("FirmwareVersion", &R::FirmwareVersion),
        textField("IpmiVersion", &R::IpmiVersion),
        textField("ManufacuturerID", &R::ManufacuturerID),
        textField("ProductID", &R::ProductID),
        textField("Status", &R::Status),
        textField("SDRVersion", &R::SDRVersion),
    };
};

template <>
struct RecordTraits<IPMI_Watchdog> {
    using R = IPMI_Watchdog;
    static constexpr Field<R> fields[] = {
        textField("DeviceID", &R::DeviceID),
        textField("SystemName", &R::SystemName),
        shortField("ActionOnExpiration", &R::ActionOnExpiration),
        shortTextField("MonitoredEntity", &R::MonitoredEntity),
        integerField("TimeoutInterval", &R::TimeoutInterval),
        integerField("TimerResolution", &R::TimerResolution),
        booleanTextField("LogTimeout", &R::LogTimeout),
        booleanTextField("TimerStop", &R::TimerStop),
        integerField("PresentValue", &R::PresentValue),
        shortField("PreTimeoutInterrupt", &R::PreTimeoutInterrupt),
        shortField("PreTimeoutInterval", &R::PreTimeoutInterval),
    };
};

template <>
struct RecordTraits<IPMI_FRU> {
    using R = IPMI_FRU;
    static constexpr Field<R> fields[] = {
        textField("SystemName", &R::SystemName),
        shortField("ChassisType", &R::ChassisType),
        textField("ChassisPartNumber", &R::ChassisPartNumber),
        textField("ChassisSerialNumber", &R::ChassisSerialNumber),
        shortField("BoardLangCode", &R::BoardLangCode),
        textField("BoardMfgDateTime", &R::BoardMfgDateTime),
        textField("BoardManufacturer", &R::BoardManufacturer),
        textField("BoardProductName", &R::BoardProductName),
        textField("BoardSerialNumber", &R::BoardSerialNumber),
        textField("BoardPartNumber", &R::BoardPartNumber),
        textField("BoardFRUFileID", &R::BoardFRUFileID),
        shortField("ProductLangCode", &R::ProductLangCode),
        textField("ProductManufacturerName", &R::ProductManufacturerName),
        textField("ProductName", &R::ProductName),
        textField("ProductPartModelNumber", &R::ProductPartModelNumber),
        textField("ProductVersion", &R::ProductVersion),
        textField("ProductSerialNumber", &R::ProductSerialNumber),
        textField("ProductAssetTag", &R::ProductAssetTag),
        textField("ProductFRUFileID", &R::ProductFRUFileID),
    };
};

template <>
struct RecordTraits<IPMI_ChassisStatus> {
    using R = IPMI_ChassisStatus;
    static constexpr Field<R> fields[] = {
        textField("SystemName", &R::SystemName),
        shortField("PowerRestorePolicy", &R::PowerRestorePolicy),
        booleanTextField("PowerControlFault", &R::PowerControlFault),
        booleanTextField("PowerFault", &R::PowerFault),
        booleanTextField("Interlock", &R::Interlock),
        booleanTextField("PowerOverload", &R::PowerOverload),
        booleanTextField("PowerIsOn", &R::PowerIsOn),
        textField("LastPowerEvent", &R::LastPowerEvent),
        booleanTextField("CoolingFanFault", &R::CoolingFanFault),
        booleanTextField("DriverFault", &R::DriverFault),
        booleanTextField("FrontPanelLockout", &R::FrontPanelLockout),
        booleanTextField("ChassisIntrusion", &R::ChassisIntrusion),
    };
};

template <>
struct RecordTraits<IPMI_DiscreteSensor> {
    using R = IPMI_DiscreteSensor;
    static constexpr Field<R> fields[] = {
        textField("DeviceID", &R::DeviceID),
        textField("SystemName", &R::SystemName),
        textField("Name", &R::Name),
        textField("CurrentState", &R::CurrentState),
        shortTextField("SensorType", &R::SensorType),
        shortField("OwnerID", &R::OwnerID),
        shortField("OwnerLun", &R::OwnerLun),
        shortField("SensorNumber", &R::SensorNumber),
        shortField("EntityID", &R::EntityID),
        textField("EntityInstance", &R::EntityInstance),
        shortField("EventReadingType", &R::EventReadingType),
    };
};

template <>
struct RecordTraits<IPMI_NumericSensor> {
    using R = IPMI_NumericSensor;
    static constexpr Field<R> fields[] = {
        textField("DeviceID", &R::DeviceID),
        textField("SystemName", &R::SystemName),
        textField("Name", &R::Name),
        shortField("RateUnits", &R::RateUnits),
        integerField("Tolerance", &R::Tolerance),
        booleanTextField("IsLinear", &R::IsLinear),
        realTextField("Accuracy", &R::Accuracy),
        textField("CurrentState", &R::CurrentState),
        shortTextField("SensorType", &R::SensorType),
        shortTextField("BaseUnits", &R::BaseUnits),
        realTextField("CurrentReading", &R::CurrentReading),
        shortTextField("ModifierUnit", &R::ModifierUnit),
        realTextField("NormalMax", &R::NormalMax),
        realTextField("NormalMin", &R::NormalMin),
        realTextField("MaxReadable", &R::MaxReadable),
        realTextField("MinReadable", &R::MinReadable),
        realTextField("NominalReading", &R::NominalReading),
        shortField("OwnerID", &R::OwnerID),
        shortField("OwnerLun", &R::OwnerLun),
        shortField("SensorNumber", &R::SensorNumber),
        shortField("EntityID", &R::EntityID),
        textField("EntityInstance", &R::EntityInstance),
        shortField("EventReadingType", &R::EventReadingType),
        textField("Modifier", &R::Modifier),
        realTextField("LowerThresholdNonCritical", &R::LowerThresholdNonCritical),
        realTextField("UpperThresholdNonCritical", &R::UpperThresholdNonCritical),
        realTextField("LowerThresholdCritical", &R::LowerThresholdCritical),
        realTextField("UpperThresholdCritical", &R::UpperThresholdCritical),
        realTextField("LowerThresholdFatal", &R::LowerThresholdFatal),
        realTextField("UpperThresholdFatal", &R::UpperThresholdFatal),
        realTextField("PositiveHysteresis", &R::PositiveHysteresis),
        realTextField("NegativeHysteresis", &R::NegativeHysteresis),
    };
};

template <>
struct RecordTraits<IPMI_SEL> {
    using R = IPMI_SEL;
    static constexpr Field<R> fields[] = {
        textField("Name", &R::Name),
        textField("SystemName", &R::SystemName),
        integerField("CurrentNumberOfRecords", &R::CurrentNumberOfRecords),
        textField("TimeOfLastChange", &R::TimeOfLastChange),
        textField("CurrentClock", &R::CurrentClock),
        textField("Version", &R::Version),
        integerField("FreeSpace", &R::FreeSpace),
        textField("OperationSupport", &R::OperationSupport),
        booleanTextField("Overflow", &R::Overflow),
    };
};

// The latest SEL record is read with the same properties as every SEL record.
template <class R>
struct SelRecordFields {
    static constexpr Field<R> fields[] = {
        textField("LogName", &R::LogName),
        textField("RecordID", &R::RecordID),
        textField("MessageTimestamp", &R::MessageTimestamp),
        textField("SystemName", &R::SystemName),
        textField("GeneratorID", &R::GeneratorID),
        shortField("SensorType", &R::SensorType),
        textField("SensorName", &R::SensorName),
        shortField("SensorNumber", &R::SensorNumber),
        shortField("EventType", &R::EventType),
        textField("EventData", &R::EventData),
        shortField("EventDir", &R::EventDir),
        shortField("GeneratorType", &R::GeneratorType),
        shortField("ChannelNumber", &R::ChannelNumber),
        textField("EvMRev", &R::EvMRev),
        shortField("Severity", &R::Severity),
    };
};

template <>
struct RecordTraits<IPMI_SELRecord> : SelRecordFields<IPMI_SELRecord> {};

template <>
struct RecordTraits<IPMI_LatestSELRecord> : SelRecordFields<IPMI_LatestSELRecord> {};

template <>
struct RecordTraits<IPMI_Channel> {
    using R = IPMI_Channel;
    static constexpr Field<R> fields[] = {
        textField("ChannelNumber", &R::ChannelNumber),
        textField("SystemName", &R::SystemName),
        shortTextField("MediumType", &R::MediumType),
        shortTextField("ProtocolType", &R::ProtocolType),
        shortTextField("SessionSupport", &R::SessionSupport),
        shortField("ActiveSessionCount", &R::ActiveSessionCount),
        shortField("VenderID", &R::VenderID),
        booleanTextField("AlertingEnabled", &R::AlertingEnabled),
        booleanTextField("PerMsgAuthentication", &R::PerMsgAuthentication),
        shortTextField("AccessMode", &R::AccessMode),
        shortTextField("PrivilegeLimit", &R::PrivilegeLimit),
    };
};

template <>
struct RecordTraits<IPMI_LANUser> {
    using R = IPMI_LANUser;
    static constexpr Field<R> fields[] = {
        textField("ChannelNumber", &R::ChannelNumber),
        textField("UserID", &R::UserID),
        textField("SystemName", &R::SystemName),
        textField("UserName", &R::UserName),
        booleanTextField("Enabled", &R::Enabled),
        shortTextField("PrivilegeLimit", &R::PrivilegeLimit),
    };
};

template <>
struct RecordTraits<IPMI_LANConfiguration> {
    using R = IPMI_LANConfiguration;
    static constexpr Field<R> fields[] = {
        textField("ChannelNumber", &R::ChannelNumber),
        textField("SystemName", &R::SystemName),
        textField("IPAddress", &R::IPAddress),
        shortTextField("IPAddressSource", &R::IPAddressSource),
        textField("MACAddress", &R::MACAddress),
        textField("SubnetMask", &R::SubnetMask),
        shortField("TimeToLive", &R::TimeToLive),
        textField("DefaultGatewayAddress", &R::DefaultGatewayAddress),
        textField("DefaultGatewayMACAddress", &R::DefaultGatewayMACAddress),
        textField("BackupGatewayAddress", &R::BackupGatewayAddress),
        textField("BackupGatewayMACAddress", &R::BackupGatewayMACAddress),
        textField("CommunityString", &R::CommunityString),
        shortField("NumberOfDestinations", &R::NumberOfDestinations),
    };
};

template <>
struct RecordTraits<IPMI_LANStatistics> {
    using R = IPMI_LANStatistics;
    static constexpr Field<R> fields[] = {
        textField("ChannelNumber", &R::ChannelNumber),
        textField("SystemName", &R::SystemName),
        shortField("IPPacketsReceived", &R::IPPacketsReceived),
        shortField("ReceivedIPHeaderErrors", &R::ReceivedIPHeaderErrors),
        shortField("ReceivedIPAddressErrors", &R::ReceivedIPAddressErrors),
        shortField("FragmentedIPPackagesReceived", &R::FragmentedIPPackagesReceived),
        shortField("IPPacketsTransmitted", &R::IPPacketsTransmitted),
        shortField("UDPPacketsReceived", &R::UDPPacketsReceived),
        shortField("ValidRMCPPacketsReceived", &R::ValidRMCPPacketsReceived),
        shortField("UDPProxyPacketsReceived", &R::UDPProxyPacketsReceived),
        shortField("UDPProxyPacketsDropped", &R::UDPProxyPacketsDropped),
    };
};

template <>
struct RecordTraits<IPMI_EventFilter> {
    using R = IPMI_EventFilter;
    static constexpr Field<R> fields[] = {
        textField("EntryNumber", &R::EntryNumber),
        textField("SystemName", &R::SystemName),
        booleanTextField("Enabled", &R::Enabled),
        shortTextField("FilterType", &R::FilterType),
        shortField("EventFilterAction", &R::EventFilterAction),
        shortField("AlertPolicyNumber", &R::AlertPolicyNumber),
        shortTextField("SensorType", &R::SensorType),
        shortField("SensorNumber", &R::SensorNumber),
        shortField("EventOffsetMask", &R::EventOffsetMask),
        textField("EventOffsetMaskDescription", &R::EventOffsetMaskDescription),
    };
};

template <>
struct RecordTraits<IPMI_AlertPolicy> {
    using R = IPMI_AlertPolicy;
    static constexpr Field<R> fields[] = {
        textField("EntryNumber", &R::EntryNumber),
        textField("SystemName", &R::SystemName),
        shortField("PolicyNumber", &R::PolicyNumber),
        booleanTextField("Enabled", &R::Enabled),
        shortTextField("Policy", &R::Policy),
        shortField("ChannelNumber", &R::ChannelNumber),
        shortField("DestinationSelector", &R::DestinationSelector),
    };
};

}  // namespace nvx4

#endif
