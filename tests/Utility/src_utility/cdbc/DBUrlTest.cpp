#include "DBUrl.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "ExpectThrowCode.h"
#include "TestSupport.h"

namespace {

struct UrlCase {
    std::string url;
    std::string driver;
    std::string database;
    std::map<std::string, std::string> properties;
};

void PrintTo(const UrlCase& c, std::ostream* out) { *out << c.url; }

class DBUrlParses : public ::testing::TestWithParam<UrlCase> {};

TEST_P(DBUrlParses, IntoDriverDatabaseAndProperties) {
    const UrlCase& c = GetParam();
    const DBUrl url(c.url);
    EXPECT_EQ(url.getDriverName(), c.driver);
    EXPECT_EQ(url.getDatabaseName(), c.database);
    for (const auto& [key, value] : c.properties) EXPECT_EQ(url.getProperty(key), value) << key;
}

INSTANTIATE_TEST_SUITE_P(
    Urls, DBUrlParses,
    ::testing::Values(
        UrlCase{"wmi:localhost//user=,password=,namespace=root\\nvx4\\node",
                "wmi",
                "localhost",
                {{"user", ""}, {"password", ""}, {"namespace", "root\\nvx4\\node"}}},
        UrlCase{"odbc:inventory", "odbc", "inventory", {{"user", ""}}},
        UrlCase{":db", "", "db", {}}, UrlCase{"wmi:a:b//k=v", "wmi", "a:b", {{"k", "v"}}},
        UrlCase{"wmi://k=v", "wmi", "", {{"k", "v"}}}, UrlCase{"wmi:h//", "wmi", "h", {{"", ""}}},
        UrlCase{"wmi:h//a=1,a=2", "wmi", "h", {{"a", "2"}}},
        UrlCase{"wmi:h//flag", "wmi", "h", {{"flag", "flag"}}},
        UrlCase{"wmi:h//a=1,,b=2", "wmi", "h", {{"a", "1"}, {"", ""}, {"b", "2"}}},
        UrlCase{"wmi:h// k = v=w ,x=\\y", "wmi", "h", {{" k ", " v=w "}, {"x", "\\y"}}},
        UrlCase{"WMI:Host//User=Me", "WMI", "Host", {{"User", "Me"}, {"user", ""}}}));

TEST(DBUrl, RejectsUrlsWithoutDriverOrDatabase) {
    EXPECT_CDBC_THROW(DBUrl("no colon at all"), 0x22000FFF, "undefine driver name");
    EXPECT_CDBC_THROW(DBUrl("wmi:"), 0x22000FFE, "undefine database name");
    EXPECT_CDBC_THROW(DBUrl(":"), 0x22000FFE, "undefine database name");
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

}  // namespace
