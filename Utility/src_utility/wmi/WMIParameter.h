// An instance whose properties are set by name: the in-parameters of a method call, or a new
// instance to store.
#ifndef WMIPARAMETER_H
#define WMIPARAMETER_H

#include <windows.h>
#include <oleauto.h>
#include <wbemcli.h>

#include <cstdint>
#include <string>

#include "ComRef.h"

class WMIParameter {
  public:
    // Spawns an instance of `classObject`. A null object raises WMIException 0x22000FF6
    // "using null init WMIParameter"; a failing spawn raises its result.
    explicit WMIParameter(IWbemClassObject* classObject);
    WMIParameter(const WMIParameter&) = delete;
    WMIParameter& operator=(const WMIParameter&) = delete;
    virtual ~WMIParameter() = default;

    // Each setter stores the value under the property's declared type and raises WMIException
    // with the result of a refused store. Array setters given a null array store an empty one.
    void setLong(const std::string& name, std::int32_t value);
    void setLongArray(const std::string& name, const std::int32_t* values, int count);
    void setBoolean(const std::string& name, bool value);
    // Element i is true only when byte i is exactly 1.
    void setBooleanArray(const std::string& name, const std::uint8_t* values, int count);
    void setShort(const std::string& name, std::int16_t value);
    void setShortArray(const std::string& name, const std::int16_t* values, int count);
    void setString(const std::string& name, const std::string& value);
    void setStringArray(const std::string& name, const std::string* values, int count);

    IWbemClassObject* getInstance() const { return instance.get(); }

  private:
    // Stores the value and clears it, whatever happens.
    void put(const std::string& name, VARIANT& value);

    ComRef<IWbemClassObject> instance;
};

#endif
