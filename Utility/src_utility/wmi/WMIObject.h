// One WMI class, for calling its methods and spawning its instances.
#ifndef WMIOBJECT_H
#define WMIOBJECT_H

#include <windows.h>
#include <oleauto.h>
#include <wbemcli.h>

#include <string>

#include "BstrHolder.h"
#include "ComRef.h"
#include "WMISecurity.h"

class WMIParameter;
class WMIResult;

class WMIObject {
  public:
    // Fetches the class definition. A null `services` raises WMIException 0x22000FF6 "using null
    // init WMIObject"; an unknown class raises the WMI result. `services` is borrowed.
    WMIObject(const std::string& className, IWbemServices* services, const WMISecurity& security);
    WMIObject(const WMIObject&) = delete;
    WMIObject& operator=(const WMIObject&) = delete;
    virtual ~WMIObject() = default;

    // Runs a method of the class with the given in-parameters (none when null). The result holds
    // the out-parameters, or is null when the method has none; the caller owns it.
    WMIResult* execMethod(const std::string& methodName, WMIParameter* in);
    WMIResult* execMethod(const char* methodName, WMIParameter* in);
    // A new instance of the method's in-parameter class, or null when the method takes no
    // parameters; the caller owns it.
    WMIParameter* getInParameters(const std::string& methodName);
    // A new instance of the class, to fill and store with WMIConnection::putInstance.
    WMIParameter* createInstance();

    IWbemClassObject* getClassObject() const { return classObject.get(); }

  private:
    ComRef<IWbemClassObject> classObject;
    IWbemServices* services;
    BstrHolder className;
    WMISecurity security;
};

#endif
