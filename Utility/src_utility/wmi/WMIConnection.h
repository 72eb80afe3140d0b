// A connection to a WMI namespace of the local or a remote machine, opened from a URL
// wmi:<host>//user=<user>,password=<password>,namespace=<namespace>.
#ifndef WMICONNECTION_H
#define WMICONNECTION_H

#include <windows.h>
#include <oleauto.h>
#include <wbemcli.h>

#include <string>

#include "BstrHolder.h"
#include "ComRef.h"
#include "DBConnection.h"
#include "WMISecurity.h"

class DBUrl;
class WMIObject;
class WMIParameter;
class WMIResult;

class WMIConnection : public DBConnection {
  public:
    // Connects to \\<host>\<namespace>: with the caller's own credentials on the local machine,
    // with the URL's user and password on another. Raises WMIException with the failing result.
    explicit WMIConnection(const DBUrl& url);
    WMIConnection(const WMIConnection&) = delete;
    WMIConnection& operator=(const WMIConnection&) = delete;

    // Sets the services proxy's security first. The statement must not outlive this connection.
    DBStatement* createStatement() override;
    // WMI has no transactions: these do nothing, and auto-commit reads as off.
    void setAutoCommit(bool on) override;
    bool getAutoCommit() override;
    void commit() override;
    void rollback() override;
    ~WMIConnection() override = default;

    // A new wrapper of the named class for calling its methods; it must not outlive this
    // connection.
    WMIObject* getObject(const std::string& className);
    // Creates or replaces the instance held by the wrapper.
    void putInstance(const WMIParameter& instance);
    void putInstance(const WMIResult& instance);
    // Deletes the instance at an object path such as Class.Key="value".
    void deleteInstance(const std::string& objectPath);

  private:
    void connect(IWbemLocator* locator, const DBUrl& url);
    void putInstance(IWbemClassObject* instance);

    ComRef<IWbemServices> services;
    BstrHolder path;
    BstrHolder user;
    BstrHolder password;
    WMISecurity security;
};

#endif
