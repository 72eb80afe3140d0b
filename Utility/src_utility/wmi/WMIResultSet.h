// The instances of one WMI class, walked one at a time; property values are read by name from
// the current instance.
#ifndef WMIRESULTSET_H
#define WMIRESULTSET_H

#include <windows.h>
#include <oleauto.h>
#include <wbemcli.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "CDBCVariant.h"
#include "ComRef.h"
#include "DBResultSet.h"
#include "WMIPropertyNames.h"
#include "WMIResult.h"
#include "WMISecurity.h"

class WMIResultSet : public DBResultSet {
  public:
    // Takes over the caller's reference to `enumerator`, also when construction fails. Learns
    // the property names from the first instance, then rewinds the enumerator.
    WMIResultSet(ComRef<IEnumWbemClassObject>&& enumerator, const WMISecurity& security);

    // True when an instance is now current; false at the end of the instances. An instance that
    // is late is waited for as long as the enumeration's time limit allows (NVX4_WMI_WAIT_MS,
    // milliseconds from the construction; 60000 by default); past it the walk fails with
    // WMIException WBEM_E_TIMED_OUT.
    bool next() override;
    std::string getString(const std::string& name) override;
    // Copies at most `size` characters; returns the number of characters copied.
    int getString(const std::string& name, char* buffer, int size) override;
    double getDouble(const std::string& name) override;
    int getInt(const std::string& name) override;

    // Reads of the current instance beyond the common interface. Like the getters above, each
    // raises WMIException 0x22000FF6 "no current row" before the first successful next().
    bool getBoolean(const std::string& name);
    std::uint16_t getChar16(const std::string& name);
    std::uint8_t getUint8(const std::string& name);
    std::uint16_t getUint16(const std::string& name);
    std::int16_t getSint16(const std::string& name);
    std::uint32_t getUint32(const std::string& name);
    std::int32_t getSint32(const std::string& name);
    std::uint64_t getUint64(const std::string& name);
    std::int64_t getSint64(const std::string& name);
    float getReal32(const std::string& name);
    double getReal64(const std::string& name);
    CDBCVariant getVariant(const std::string& name);
    int getStringArray(const std::string& name, char* buffer, unsigned capacity, int width);
    // The raw value; the caller clears it with VariantClear.
    VARIANT get(const std::string& name);

  private:
    const WMIResult& currentRow() const;
    // The value of a property of the current instance.
    CDBCVariant read(const std::string& name);
    void readFieldNames();
    HRESULT fetch(ComRef<IWbemClassObject>& object);

    ComRef<IEnumWbemClassObject> enumerator;
    std::chrono::steady_clock::time_point deadline;
    WMISecurity security;
    WMIResult current;
    WMIPropertyNames names;
};

#endif
