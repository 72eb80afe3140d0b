#include "DBDriver.h"

#include <new>

#include "CDBC_Exception.h"
#include "DBUrl.h"
#include "ErrorCodes.h"
#include "ODBCConnection.h"
#include "WMIConnection.h"

DBConnection* DBDriver::getConnection(const DBUrl& url) {
    const std::string driver = url.getDriverName();
    // A connection object that cannot be allocated gives a null pointer, not an exception.
    if (driver == "odbc") return new (std::nothrow) ODBCConnection(url);
    if (driver == "wmi") return new (std::nothrow) WMIConnection(url);
    throw CDBC_Exception(__FILE__, __LINE__, CDBC_UNSUPPORTED_DRIVER,
                         "no support driver[" + driver + "]");
}
