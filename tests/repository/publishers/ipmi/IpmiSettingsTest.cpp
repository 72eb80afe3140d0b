#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "IpmiSettings.h"
#include "PublishFailure.h"
#include "TestSupport.h"
#include "nvx4/repository/Publisher.h"

namespace nvx4::repository::test {
namespace {

TEST(IpmiSettingsRejects, NamingTheLineAndTheProblem) {
    const std::pair<const char*, const char*> cases[] = {
        {"host = h\nport = 70000",
         "bmc.conf line 2: port: expected a whole number from 1 to 65535"},
        {"privilege = root", "bmc.conf line 1: privilege: expected user, operator or admin"},
        {"cipher-suite = 0",
         "bmc.conf line 1: cipher-suite: cipher suite 0 authenticates nobody; use 1 to 14"},
        {"password = x",
         "bmc.conf line 1: password: passwords are not written here; name a password-file"},
        {"timeout = 0", "bmc.conf line 1: timeout: expected seconds from 0.1 to 600"},
        {"# c\nhost 1.2.3.4", "bmc.conf line 2: expected key = value"},
        {"colour = red", "bmc.conf line 1: colour: unknown setting"},
        {"host = 10.0.0.1\nuser = u",
         "bmc.conf: host is set, so user and password-file are needed"},
    };
    for (const auto& [text, message] : cases) {
        try {
            IpmiSettings::parse(text, "bmc.conf");
            ADD_FAILURE() << "accepted " << text;
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), message);
        }
    }
}

// The keys the simulator's settings do not set; its sessions need the default privilege.
TEST(IpmiSettings, ReadsEveryKeyAndDefaultsToOperatorOverCipherSuite3) {
    const IpmiSettings s = IpmiSettings::parse("system-name = rack7\n", "f");
    EXPECT_EQ(s.cipherSuite, 3);
    EXPECT_EQ(s.systemName, "rack7");
}

// Read when private, without its line end; refused when longer than a BMC takes.
TEST(IpmiPasswordFile, IsReadOnlyWhenPrivateAndShort) {
    nvx4::test::TempPath file("password");
    std::ofstream(file.path()) << "pw\r\n";
    chmod(file.path().c_str(), 0400);
    EXPECT_EQ(IpmiPassword::read(file.path()).text(), "pw");
    chmod(file.path().c_str(), 0600);
    std::ofstream(file.path()) << "123456789012345678901";
    EXPECT_EQ(nvx4::test::publishFailure([&file] { IpmiPassword::read(file.path()); }),
              std::to_string(PublishError::kProviderFailure) + " password file " + file.path() +
                  " holds more than 20 bytes");
}

}  // namespace
}  // namespace nvx4::repository::test
