#include "DBUrl.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "DBDriver.h"
#include "ExpectThrowCode.h"
#include "TestSupport.h"

namespace {

TEST(DBUrl, ParsesIntoDriverDatabaseAndProperties) {
    const struct {
        std::string url, driver, database;
        std::map<std::string, std::string> properties;
    } cases[] = {
        {"odbc:inventory", "odbc", "inventory", {{"user", ""}}},
        {":db", "", "db", {}},
        {"wmi:a:b//k=v", "wmi", "a:b", {{"k", "v"}}},
        {"wmi://k=v", "wmi", "", {{"k", "v"}}},
        {"wmi:h//a=1,a=2", "wmi", "h", {{"a", "2"}}},
        {"wmi:h//flag", "wmi", "h", {{"flag", "flag"}}},
        {"wmi:h//a=1,,b=2", "wmi", "h", {{"a", "1"}, {"", ""}, {"b", "2"}}},
        {"wmi:h// k = v=w ,x=\\y", "wmi", "h", {{" k ", " v=w "}, {"x", "\\y"}}},
        {"WMI:Host//User=Me", "WMI", "Host", {{"User", "Me"}, {"user", ""}}},
    };
    for (const auto& c : cases) {
        const DBUrl url(c.url);
        EXPECT_EQ(url.getDriverName(), c.driver) << c.url;
        EXPECT_EQ(url.getDatabaseName(), c.database) << c.url;
        for (const auto& [key, value] : c.properties)
            EXPECT_EQ(url.getProperty(key), value) << c.url << ' ' << key;
    }
}

TEST(DBUrl, RejectsUrlsWithoutDriverOrDatabase) {
    EXPECT_CDBC_THROW(DBUrl("no colon at all"), 0x22000FFF, "undefine driver name");
    EXPECT_CDBC_THROW(DBUrl("wmi:"), 0x22000FFE, "undefine database name");
}

// The trace shows the URL as given, except for the password's value.
TEST(DBUrl, TracesTheUrlAtLevelThreeWithThePasswordMasked) {
    const std::pair<const char*, const char*> cases[] = {
        {"odbc:inv//user=u,password=secret", "odbc:inv//user=u,password=***"},
        {"odbc:inv//password=s3,user=u,x", "odbc:inv//password=***,user=u,x"},
        {"wmi:localhost//user=,password=,namespace=root\\nvx4\\node",
         "wmi:localhost//user=,password=,namespace=root\\nvx4\\node"},
        {"odbc:inv//user=password=x,Password=y,passwords=z",
         "odbc:inv//user=password=x,Password=y,passwords=z"},
        {"odbc:password=secret", "odbc:password=secret"},  // a database name, not a property
    };
    for (const auto& [url, shown] : cases) {
        nvx4::test::TempPath trace("trace.log");
        nvx4::test::ScopedEnv level("KEV_TRACE_LEVEL", "3");
        nvx4::test::ScopedEnv file("KEV_TRACE_FILE", trace.path());
        DBUrl{url};
        const std::string text = trace.read();
        EXPECT_NE(text.find("\nurl is " + std::string(shown) + "\n"), std::string::npos) << text;
    }
}

// Only the exact names select a driver: neither another case nor a name that merely starts or
// ends like a real one.
TEST(DBDriver, RejectsUnknownDriverNamesAsWritten) {
    for (const std::string driver : {"", "WMI", "Odbc", "mysql", "wmi2", "wmix", "wm", "w", "awmi",
                                     "wmi ", "odbcx", "odbc2", "odb", "xodbc", " odbc"})
        EXPECT_CDBC_THROW(DBDriver::getConnection(DBUrl(driver + ":db//user=x")), 0x22000FFD,
                          "no support driver[" + driver + "]");
}

}  // namespace
