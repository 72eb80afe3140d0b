// Holds one WMI object (an enumerated instance, a method's out-parameters or an embedded object)
// and reads its properties by name through CDBCVariant's conversions.
#ifndef WMIRESULT_H
#define WMIRESULT_H

#include <windows.h>
#include <oleauto.h>
#include <wbemcli.h>

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "CDBCVariant.h"
#include "ComRef.h"

class WMIResult {
  public:
    WMIResult() = default;
    // Takes a reference of its own to `object` (which may be null).
    explicit WMIResult(IWbemClassObject* object);
    // A copy holds a reference of its own to the same object.
    WMIResult(const WMIResult& other);
    WMIResult& operator=(const WMIResult& other);
    virtual ~WMIResult() = default;

    // Holds `object` (with a reference of its own) instead of the object held so far.
    void set(IWbemClassObject* object);
    // Holds `object` instead of the object held so far, taking over the caller's reference.
    void adopt(IWbemClassObject* object);
    IWbemClassObject* getObject() const { return object.get(); }
    bool empty() const { return !object; }

    // The names of the object's properties, system properties left out, in the object's order.
    std::vector<std::string> getPropertyNames() const;

    // The raw value of a property; the caller clears it with VariantClear. A property the object
    // lacks raises WMIException WBEM_E_NOT_FOUND; an empty holder raises 0x22000FF6.
    VARIANT get(const std::string& name) const;
    CDBCVariant getVariant(const std::string& name) const;
    // The same by the property's wide name, which saves converting the name on every read.
    VARIANT get(const wchar_t* name) const;
    CDBCVariant getVariant(const wchar_t* name) const;

    std::string getString(const std::string& name) const;
    int getString(const std::string& name, char* buffer, int size) const;
    int getWString(const std::string& name, wchar_t* buffer, int size) const;
    std::int32_t getLong(const std::string& name) const;
    double getDouble(const std::string& name) const;
    bool getBoolean(const std::string& name) const;
    std::uint16_t getChar16(const std::string& name) const;
    std::uint8_t getUint8(const std::string& name) const;
    std::uint16_t getUint16(const std::string& name) const;
    std::int16_t getSint16(const std::string& name) const;
    std::uint32_t getUint32(const std::string& name) const;
    std::int32_t getSint32(const std::string& name) const;
    std::uint64_t getUint64(const std::string& name) const;
    std::int64_t getSint64(const std::string& name) const;
    float getReal32(const std::string& name) const;
    double getReal64(const std::string& name) const;

    int getStringArray(const std::string& name, char* buffer, unsigned capacity, int width) const;
    int getWStringArray(const std::string& name, wchar_t* buffer, unsigned capacity,
                        int width) const;
    int getLongArray(const std::string& name, std::int32_t* values, unsigned capacity) const;
    int getDoubleArray(const std::string& name, double* values, unsigned capacity) const;
    int getBooleanArray(const std::string& name, std::uint8_t* values, unsigned capacity) const;
    int getChar16Array(const std::string& name, std::uint16_t* values, unsigned capacity) const;
    int getUint8Array(const std::string& name, std::uint8_t* values, unsigned capacity) const;
    int getUint16Array(const std::string& name, std::uint16_t* values, unsigned capacity) const;
    int getSint16Array(const std::string& name, std::int16_t* values, unsigned capacity) const;
    int getUint32Array(const std::string& name, std::uint32_t* values, unsigned capacity) const;
    int getSint32Array(const std::string& name, std::int32_t* values, unsigned capacity) const;
    int getUint64Array(const std::string& name, std::uint64_t* values, unsigned capacity) const;
    int getSint64Array(const std::string& name, std::int64_t* values, unsigned capacity) const;
    int getReal32Array(const std::string& name, float* values, unsigned capacity) const;
    int getReal64Array(const std::string& name, double* values, unsigned capacity) const;
    int getResultArray(const std::string& name, WMIResult* results, unsigned capacity) const;

  private:
    // Get of one property into `value`, which is VT_EMPTY; raises as get does.
    void read(const wchar_t* name, VARIANT& value) const;

    ComRef<IWbemClassObject> object;
};

// Writes every non-system property: its name on one line, its value on the next.
std::ostream& operator<<(std::ostream& out, const WMIResult& result);

#endif
