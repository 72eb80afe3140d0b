#include "DBDriver.h"

#include "CDBC_Exception.h"
#include "DBUrl.h"
#include "ErrorCodes.h"

DBConnection* DBDriver::getConnection(const DBUrl& url) {
    const std::string driver = url.getDriverName();
    throw CDBC_Exception(__FILE__, __LINE__, CDBC_UNSUPPORTED_DRIVER,
                         "no support driver[" + driver + "]");
}
