#include "miscellanea.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

#include "TestSupport.h"
#include "nvx4/platform/NameService.h"

namespace {

using nvx4::platform::HostEntry;
using nvx4::platform::NameService;
using nvx4::test::ScopedEnv;
using nvx4::test::TempPath;

std::uint32_t ip(const char* text) { return ::inet_addr(text); }

class LocalHostTest : public ::testing::Test {
  protected:
    LocalHostTest() : level_("KEV_TRACE_LEVEL", "1"), file_("KEV_TRACE_FILE", trace_.path()) {
        NameService::useTable(
            "node7", {{"localhost.localdomain", {"localhost"}, {ip("127.0.0.1"), ip("127.1.1.1")}},
                      {"node7", {}, {ip("10.1.2.3")}},
                      {"other", {}, {ip("192.168.1.20")}}});
    }
    ~LocalHostTest() override { NameService::useSystem(); }

    TempPath trace_{"trace.log"};
    ScopedEnv level_;
    ScopedEnv file_;
};

TEST_F(LocalHostTest, AnswersByNameAndByAddress) {
    const std::pair<const char*, bool> cases[] = {
        {"127.0.0.1", true}, {"LocalHost", true},
        {"NODE7", true},     {"localhost.LOCALDOMAIN", true},
        {"127.1.1.1", true}, {"other", false},
        {"10.1.2.3", false}, {"node", false},
        {" node7", false},
    };
    for (const auto& [host, expected] : cases) EXPECT_EQ(isLocalHost(host), expected) << host;
    EXPECT_EQ(trace_.read(), "");
}

// Fixed forms need no lookup; a failed lookup answers false and traces the resolver's error.
TEST_F(LocalHostTest, LookupFailuresAnswerFalseAndTraceTheResolverError) {
    struct Case {
        std::optional<std::string> machine;
        std::vector<HostEntry> hosts;
        const char* host;
        const char* message;  // empty: local, and nothing traced
    };
    const Case cases[] = {
        {std::nullopt, {}, "127.0.0.1", ""},
        {std::nullopt, {}, "LOCALHOST", ""},
        {std::nullopt, {}, "node7", "gethostname err[-1]"},
        {"node7", {}, "node7", "gethostbyname err[11001]"},
        {"node7", {{"localhost", {}, {ip("127.0.0.1")}}}, "192.168.1.99", "gethostname err 11001"},
    };
    for (const Case& c : cases) {
        NameService::useTable(c.machine, c.hosts);
        const bool local = *c.message == '\0';
        EXPECT_EQ(isLocalHost(c.host), local) << c.host;
        const std::string text = trace_.read();
        std::remove(trace_.path().c_str());
        if (local) {
            EXPECT_EQ(text, "") << c.host;
            continue;
        }
        EXPECT_NE(text.find("miscellanea.cpp line_no:"), std::string::npos) << text;
        EXPECT_NE(text.find("\n" + std::string(c.message) + "\n"), std::string::npos) << text;
    }
}

TEST(LocalHost, TheMachinesOwnNameIsLocalInAnyCase) {
    char name[256] = {};
    ASSERT_EQ(::gethostname(name, sizeof name - 1), 0);
    std::string upper = name;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    EXPECT_TRUE(isLocalHost(name));
    EXPECT_TRUE(isLocalHost(upper));
}

}  // namespace
