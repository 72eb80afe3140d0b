#include "DBDriver.h"

#include <gtest/gtest.h>

#include "DBUrl.h"
#include "ExpectThrowCode.h"

namespace {

TEST(DBDriver, RejectsUnknownDriverNamesAsWritten) {
    struct Case {
        const char* url;
        const char* message;
    };
    for (const Case& c :
         {Case{":db", "no support driver[]"}, Case{"WMI:localhost", "no support driver[WMI]"},
          Case{"Odbc:dsn", "no support driver[Odbc]"},
          Case{"mysql:db//user=x", "no support driver[mysql]"}}) {
        EXPECT_CDBC_THROW(DBDriver::getConnection(DBUrl(c.url)), 0x22000FFD, c.message);
    }
}

}  // namespace
