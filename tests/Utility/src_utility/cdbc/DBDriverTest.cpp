#include "DBDriver.h"

#include <gtest/gtest.h>

#include "DBUrl.h"
#include "ExpectThrowCode.h"

namespace {

// Only the exact names select a driver: neither another case nor a name that merely starts or
// ends like a real one.
TEST(DBDriver, RejectsUnknownDriverNamesAsWritten) {
    for (const std::string driver : {"", "WMI", "Odbc", "mysql", "wmi2", "wmix", "wm", "w", "awmi",
                                     "wmi ", "odbcx", "odbc2", "odb", "xodbc", " odbc"})
        EXPECT_CDBC_THROW(DBDriver::getConnection(DBUrl(driver + ":db//user=x")), 0x22000FFD,
                          "no support driver[" + driver + "]");
}

}  // namespace
