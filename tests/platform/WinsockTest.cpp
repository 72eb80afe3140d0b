#include <winsock2.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "nvx4/platform/NameService.h"

namespace {

using nvx4::platform::NameService;

class WinsockTest : public ::testing::Test {
  protected:
    WinsockTest() {
        WSADATA data;
        EXPECT_EQ(WSAStartup(0x0202, &data), 0);
        NameService::useTable("node7",
                              {{"localhost", {"loopback"}, {inet_addr("127.0.0.1")}},
                               {"node7", {}, {inet_addr("10.1.2.3"), inet_addr("10.1.2.4")}}});
    }
    ~WinsockTest() override {
        NameService::useSystem();
        WSACleanup();
    }
};

TEST_F(WinsockTest, HostNameNeedsRoomForItsTerminator) {
    char name[6];
    EXPECT_EQ(gethostname(name, 6), 0);
    EXPECT_STREQ(name, "node7");
    EXPECT_EQ(gethostname(name, 5), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
}

TEST_F(WinsockTest, FailuresSetTheThreadsError) {
    // A name that is not found is the host-name suite's.
    const ULONG address = inet_addr("10.1.2.3");
    EXPECT_EQ(gethostbyaddr(reinterpret_cast<const char*>(&address), 3, AF_INET), nullptr);
    EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
    EXPECT_EQ(gethostbyaddr(reinterpret_cast<const char*>(&address), 4, 23), nullptr);
    EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
}

TEST_F(WinsockTest, EachThreadOwnsItsResult) {
    const hostent* mine = gethostbyname("node7");
    ASSERT_NE(mine, nullptr);
    const hostent* theirs = nullptr;
    std::string theirName;
    std::thread other([&] {
        theirs = gethostbyname("localhost");
        if (theirs) theirName = theirs->h_name;
    });
    other.join();
    EXPECT_NE(mine, theirs);
    EXPECT_STREQ(mine->h_name, "node7");
    EXPECT_EQ(theirName, "localhost");
}

TEST(InetAddr, ParsesTheWinsockForms) {
    const std::pair<const char*, ULONG> cases[] = {
        {"1.2.3.4", 0x04030201},         {"0x7f.1", 0x0100007f},     {"10", 0x0a000000},
        {"255.255.255.255", 0xffffffff}, {"1.2.3.4.5", INADDR_NONE}, {"x", INADDR_NONE},
        {"1.2.3.256", INADDR_NONE},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(inet_addr(text), expected) << text;
    EXPECT_EQ(inet_addr(nullptr), INADDR_NONE);
}

}  // namespace
