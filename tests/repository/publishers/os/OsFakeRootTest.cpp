// The os publisher over a machine the test builds (os=ROOT): exact values from known files, and
// what happens when files are missing, malformed or unreadable.
#include <sys/stat.h>
#include <utmp.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "OsTestSupport.h"
#include "RepositoryTesting.h"
#include "nvx4/repository/Publisher.h"
#include "os/OsPublisher.h"

namespace nvx4::repository::os::test {
namespace {

namespace fs = std::filesystem;
using nvx4::test::ScopedEnv;

class FakeRoot {
  public:
    FakeRoot() {
        char pattern[] = "/tmp/nvx4-root-XXXXXX";
        root_ = ::mkdtemp(pattern);
        ::chmod(root_.c_str(), 0755);
        write("proc/stat", "cpu  100 0 50 850 0 0 0 0 0 0\ncpu0 100 0 50 850 0 0 0 0 0 0\n");
        write("proc/meminfo",
              "MemTotal: 1000000 kB\nMemFree: 100000 kB\nMemAvailable: 400000 kB\n"
              "SwapTotal: 2048 kB\nSwapFree: 1024 kB\n");
        write("proc/uptime", "1000.50 1800.00\n");
        write("proc/net/dev",
              "Inter-|   Receive |  Transmit\n face |bytes packets|bytes packets\n"
              "  eth9: 1000 10 0 0 0 0 0 0 2000 20 0 0 0 0 0 0\n");
        write("proc/mounts",
              "/dev/sda1 / ext4 rw 0 0\nproc /proc proc rw 0 0\n"
              "/dev/sdb1 /mnt/my\\040disk xfs rw 0 0\n/dev/sdc1 /gone ext4 rw 0 0\n"
              "srv:/x /net nfs4 rw 0 0\n");
        fs::create_directories(root_ + "/mnt/my disk");
        write("proc/sys/kernel/hostname", "fakehost\n");
        write("proc/sys/kernel/osrelease", "9.9.9-test\n");
        write("proc/sys/kernel/arch", "armv7l\n");
        write("etc/os-release", "NAME=x\nPRETTY_NAME=\"Test \\\"Linux\\\" 1\"\n");
        write("proc/42/stat",
              "42 (my (odd) name) S 1 42 42 0 -1 4194560 0 0 0 0 250 50 0 0 15 -5 1 0 50000 1000 "
              "300 18446744073709551615 1 1 0 0 0 0 0 0 0 0 0 0 17 0 0 0 0 0 0\n");
        write("proc/42/status", "Name:\tmy (odd) name\nVmRSS:\t    1200 kB\n");
        write("proc/1/status", "Name:\tinit\n");
        // Processes that exited while they were read: no stat at all, or a stat but no status.
        fs::create_directories(root_ + "/proc/43");
        write("proc/44/stat", "44 (gone) S 1 1 1 0 -1 0 0 0 0 0 1 1 0 0 20 0 1 0 1 1 1\n");
        write("proc/1/stat", "1 (init) S 0 1 1 0 -1 0 0 0 0 0 1 1 0 0 20 0 1 0 1 1 1\n");
    }
    ~FakeRoot() { fs::remove_all(root_); }

    void write(const std::string& file, const std::string& text) const {
        fs::create_directories(fs::path(root_ + "/" + file).parent_path());
        std::ofstream(root_ + "/" + file, std::ios::trunc) << text;
    }
    void replaceByFolder(const std::string& file) const {
        fs::remove(root_ + "/" + file);
        fs::create_directories(root_ + "/" + file);
    }
    const std::string& path() const { return root_; }

  private:
    std::string root_;
};

class OsFakeRootTest : public nvx4::repository::test::IsolatedRepository {
  protected:
    static std::string value(const Instance& instance, const wchar_t* property) {
        return shown(valueOf(instance, property));
    }

    FakeRoot root_;
    ScopedEnv sources_{kRepositoryVariable, "os=" + root_.path()};
};

TEST_F(OsFakeRootTest, KnownFilesGiveExactValues) {
    struct Expected {
        const wchar_t* cls;
        std::size_t instance;
        const wchar_t* property;
        std::string value;
    };
    // What only a built machine shows: an odd architecture and process name, escaped texts,
    // processes that exit while read, mount points to leave out. ps, df and free show the rest.
    const Expected cases[] = {
        {L"NVX4_OS_SysInfo", 0, L"OSArch", "32-bit"},
        {L"NVX4_OS_SysInfo", 0, L"Name", "Test \"Linux\" 1"},
        {L"NVX4_OS_SysInfo", 0, L"NumberOfProcesses", "4"},
        // Processes in pid order; 43 and 44 have gone and are left out.
        {L"NVX4_OS_Process", 1, L"Handle", "42"},
        {L"NVX4_OS_Process", 1, L"Name", "my (odd) name"},
        // Mount points decoded; pseudo, network and unreachable ones left out.
        {L"NVX4_OS_DiskUsage", 0, L"DeviceID", "/"},
        {L"NVX4_OS_DiskUsage", 1, L"DeviceID", "/mnt/my disk"},
    };
    for (const Expected& c : cases) {
        Repository::Enumeration found = enumerate(c.cls);
        ASSERT_EQ(found.status, 0) << Utf8::toNarrow(c.cls);
        ASSERT_GT(found.instances->size(), c.instance) << Utf8::toNarrow(c.cls);
        EXPECT_EQ(value(*(*found.instances)[c.instance], c.property), c.value)
            << Utf8::toNarrow(c.cls) << "." << Utf8::toNarrow(c.property);
    }
    EXPECT_EQ(enumerate(L"NVX4_OS_Process").instances->size(), 2u);
    EXPECT_EQ(enumerate(L"NVX4_OS_DiskUsage").instances->size(), 2u);
}

TEST_F(OsFakeRootTest, ProcessorUsageComesFromTheTicksBetweenReadings) {
    ASSERT_EQ(enumerate(L"NVX4_OS_CPUUsage").status, 0);  // first pair: no ticks between
    // 60 user (40 + 20 nice), 10 system + 10 interrupt, 20 idle ticks since.
    root_.write("proc/stat", "cpu  140 20 60 870 0 10 0 0 0 0\ncpu0 140 20 60 870 0 10 0 0 0 0\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    Repository::Enumeration found = enumerate(L"NVX4_OS_CPUUsage");
    ASSERT_EQ(found.status, 0);
    ASSERT_EQ(found.instances->size(), 2u);
    for (const auto& cpu : *found.instances) {
        EXPECT_EQ(value(*cpu, L"UserMode"), "60");
        EXPECT_EQ(value(*cpu, L"SystemMode"), "20");
        EXPECT_EQ(value(*cpu, L"CPUUsage"), "80");
    }
    EXPECT_EQ(value(*found.instances->front(), L"Name"), "_Total");
}

TEST_F(OsFakeRootTest, UnreadableOrBrokenFilesFailOnlyTheirClass) {
    struct Case {
        const char* name;
        std::function<void(const FakeRoot&)> breakIt;
        const wchar_t* cls;
        std::string traced;
    };
    const Case cases[] = {
        {"folder for a file", [](const FakeRoot& r) { r.replaceByFolder("proc/stat"); },
         L"NVX4_OS_CPUUsage", "proc/stat: Is a directory"},
        {"missing file", [](const FakeRoot& r) { fs::remove(r.path() + "/proc/meminfo"); },
         L"NVX4_OS_MemoryUsage", "proc/meminfo: No such file or directory"},
        {"missing field", [](const FakeRoot& r) { r.write("proc/meminfo", "MemTotal: 1 kB\n"); },
         L"NVX4_OS_MemoryUsage", "/proc/meminfo has no MemFree"},
        {"malformed counters", [](const FakeRoot& r) { r.write("proc/net/dev", "eth0: 1 2\n"); },
         L"NVX4_OS_NetworkUsage", "malformed /proc/net/dev line: eth0: 1 2"},
        {"process file a folder", [](const FakeRoot& r) { r.replaceByFolder("proc/42/stat"); },
         L"NVX4_OS_Process", "proc/42/stat: Is a directory"},
        {"process status a folder", [](const FakeRoot& r) { r.replaceByFolder("proc/42/status"); },
         L"NVX4_OS_Process", "proc/42/status: Is a directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRoot broken;
        c.breakIt(broken);
        ScopedEnv sources(kRepositoryVariable, "os=" + broken.path());
        Repository::Enumeration found;
        const std::string output = traced([&] { found = enumerate(c.cls); });
        EXPECT_EQ(found.status, PublishError::kProviderFailure);
        EXPECT_NE(output.find(Utf8::toNarrow(c.cls) + " failed: "), std::string::npos) << output;
        EXPECT_NE(output.find(c.traced), std::string::npos) << output;
        EXPECT_EQ(enumerate(L"NVX4_OS_SysInfo").status, 0);
    }
}

TEST_F(OsFakeRootTest, UsersAreTheLiveSessionsWhoLists) {
    const auto record = [](short type, const char* user, pid_t pid) {
        utmp entry{};
        entry.ut_type = type;
        entry.ut_pid = pid;
        std::strncpy(entry.ut_user, user, sizeof entry.ut_user - 1);
        std::strncpy(entry.ut_line, "pts/9", sizeof entry.ut_line - 1);
        return std::string(reinterpret_cast<const char*>(&entry), sizeof entry);
    };
    const std::string live = record(USER_PROCESS, "ann", 42) + record(USER_PROCESS, "bob", 1) +
                             record(LOGIN_PROCESS, "LOGIN", 1) + record(BOOT_TIME, "reboot", 0);
    root_.write("run/utmp", live);
    const std::string who = commandOutput("who " + root_.path() + "/run/utmp | wc -l");
    // A session whose process has ended (no ROOT/proc/77) no longer counts.
    root_.write("run/utmp", live + record(USER_PROCESS, "cy", 77));
    Repository::Enumeration found = enumerate(L"NVX4_OS_SysInfo");
    ASSERT_EQ(found.status, 0);
    EXPECT_EQ(value(*found.instances->front(), L"NumberOfUsers"), lines(who).at(0));
    EXPECT_EQ(lines(who).at(0), "2");
}

TEST(OsPublisherArguments, RootAndPseudoWordsOnly) {
    for (const char* good : {"", "/", "/tmp/x", "pseudo", "/tmp/x,pseudo"})
        EXPECT_NE(OsPublisher::make(good), nullptr) << good;
    for (const char* bad : {"relative", "/tmp/x,bogus"})
        EXPECT_THROW(OsPublisher::make(bad), std::invalid_argument) << bad;
}

}  // namespace
}  // namespace nvx4::repository::os::test
