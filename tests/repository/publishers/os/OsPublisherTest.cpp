// The os publisher on this machine, compared with what independent tools (ps, df, free) report,
// and its network rates against traffic the test sends.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <time.h>

#include <chrono>
#include <cmath>
#include <map>
#include <tuple>
#include <thread>

#include "OsTestSupport.h"
#include "os/OsPublisher.h"
#include "os/ProcessTable.h"

namespace nvx4::repository::os::test {
namespace {

using Steady = std::chrono::steady_clock;

std::vector<PropertyValues> publish(Publisher& publisher, const wchar_t* className) {
    return publisher.publish(className).instances;
}

std::int64_t seconds(const std::string& elapsed) {
    long long days = 0, h = 0, m = 0, s = 0;
    if (std::sscanf(elapsed.c_str(), "%lldd %lld:%lld:%lld", &days, &h, &m, &s) != 4) {
        days = 0;
        std::sscanf(elapsed.c_str(), "%lld:%lld:%lld", &h, &m, &s);
    }
    return ((days * 24 + h) * 60 + m) * 60 + s;
}

class OsPublisherTest : public ::testing::Test {
  protected:
    std::shared_ptr<Publisher> publisher_ = OsPublisher::make("");
};

TEST_F(OsPublisherTest, ProcessesMatchPs) {
    Child sleeper("nvx4-probe", Child::kPause, [] { ::setpriority(PRIO_PROCESS, 0, 10); });
    Child stopped("nvx4-stopped", Child::kPause);
    ::kill(stopped.pid(), SIGSTOP);
    ::waitpid(stopped.pid(), nullptr, WUNTRACED);
    Child zombie("nvx4-zombie", Child::kExit);
    siginfo_t info{};
    ::waitid(P_PID, zombie.pid(), &info, WEXITED | WNOWAIT);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the sleeper is asleep

    const auto ps = lines(commandOutput("ps -e -o pid=,ppid=,nice=,etimes=,times=,pmem=,comm="));
    const auto ours = publish(*publisher_, L"NVX4_OS_Process");
    std::map<std::string, const PropertyValues*> byPid;
    for (const PropertyValues& process : ours) byPid[text(process, L"Handle")] = &process;

    // Processes may exec, exit or grow between ps and the publisher: a few may disagree.
    int compared = 0;
    std::string disagreeing;
    for (const std::string& row : ps) {
        std::istringstream in(row);
        std::string pid, nice, comm;
        long long ppid, etimes;
        double times, pmem;
        in >> pid >> ppid >> nice >> etimes >> times >> pmem >> std::ws;
        std::getline(in, comm);
        if (byPid.count(pid) == 0) continue;  // ps itself, or a process that came or went
        const PropertyValues& p = *byPid[pid];
        ++compared;
        const bool kernelThread = ppid == 2 || pid == "2";  // they rename themselves as they work
        const double cpu =
            (std::stod(text(p, L"UserModeTime")) + std::stod(text(p, L"KernelModeTime"))) / 1e7;
        const int priority = nice == "-" ? 24 : ProcessTable::windowsPriority(0, std::stoi(nice));
        if ((!kernelThread && text(p, L"Name") != comm) ||
            get(p, L"ParentProcessID").asSigned() != ppid ||
            get(p, L"Priority").asSigned() != priority ||
            std::abs(seconds(text(p, L"ElapsedTime")) - etimes) > 2 ||
            std::abs(cpu - times) > 1.5 || std::abs(get(p, L"MemoryUsage").asReal() - pmem) > 0.2)
            disagreeing += row + "\n";
    }
    EXPECT_GE(compared, static_cast<int>(ps.size()) * 9 / 10);
    EXPECT_LE(static_cast<int>(lines(disagreeing).size()), 2 + compared / 20) << disagreeing;

    // The test's own children, whose figures hold still: priority and state.
    for (const auto& [child, priority, state] :
         {std::tuple{&sleeper, 6, 4}, std::tuple{&stopped, 8, 8}, std::tuple{&zombie, 8, 7}}) {
        const PropertyValues* p = findBy(ours, L"Handle", std::to_string(child->pid()));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(get(*p, L"Priority").asSigned(), priority) << text(*p, L"Name");
        EXPECT_EQ(get(*p, L"ExecutionState").asSigned(), state) << text(*p, L"Name");
    }
    const PropertyValues* probe = findBy(ours, L"Name", "nvx4-probe");
    const std::string rss = commandOutput("ps -o rss= -p " + text(*probe, L"Handle"));
    EXPECT_EQ(std::stoll(text(*probe, L"WorkingSetSize")), std::stoll(rss) * 1024);
    // Creation date: the moment ps's lstart says, as local CIM datetime text.
    const std::string created = text(*probe, L"CreationDate");
    ASSERT_EQ(created.size(), 25u) << created;
    std::tm local{};
    ::strptime(created.substr(0, 14).c_str(), "%Y%m%d%H%M%S", &local);
    local.tm_isdst = -1;
    EXPECT_NEAR(std::mktime(&local),
                std::stoll(commandOutput("date -d \"$(ps -o lstart= -p " + text(*probe, L"Handle") +
                                         ")\" +%s")),
                1.5);
}

TEST_F(OsPublisherTest, DisksMatchDf) {
    for (const auto& [argument, pseudo] : {std::pair{"", false}, std::pair{"pseudo", true}}) {
        SCOPED_TRACE(argument);
        std::map<std::string, std::vector<std::string>> df;
        for (const std::string& row :
             lines(commandOutput("df -B1 -a --output=target,fstype,size,avail"))) {
            std::istringstream in(row);
            std::string target, type, size, avail;
            in >> target >> type >> size >> avail;
            df[target] = {type, size, avail};
        }
        const auto ours = publish(*OsPublisher::make(argument), L"NVX4_OS_DiskUsage");
        ASSERT_FALSE(ours.empty());
        bool sawPseudo = false;
        for (const PropertyValues& disk : ours) {
            const std::string target = text(disk, L"DeviceID");
            ASSERT_EQ(df.count(target), 1u) << target;
            EXPECT_EQ(text(disk, L"Description"), df[target][0]) << target;
            EXPECT_EQ(text(disk, L"Size"), df[target][1]) << target;
            EXPECT_NEAR(std::stod(text(disk, L"FreeSpace")), std::stod(df[target][2]), 64 << 20);
            sawPseudo |= df[target][0] == "tmpfs" || df[target][0] == "proc";
        }
        EXPECT_EQ(sawPseudo, pseudo);
        EXPECT_NE(findBy(ours, L"DeviceID", "/"), nullptr);
    }
}

TEST_F(OsPublisherTest, MemoryMatchesFree) {
    double total = 0, available = 0, swapTotal = 0, swapFree = 0, ignored = 0;
    for (const std::string& row : lines(commandOutput("free -k"))) {
        std::istringstream in(row);
        std::string label;
        in >> label;
        if (label == "Mem:") in >> total >> ignored >> ignored >> ignored >> ignored >> available;
        if (label == "Swap:") in >> swapTotal >> ignored >> swapFree;
    }
    ASSERT_GT(total, 0);
    const PropertyValues memory = publish(*publisher_, L"NVX4_OS_MemoryUsage").at(0);
    EXPECT_EQ(get(memory, L"TotalMemory").asReal(), total);
    EXPECT_NEAR(get(memory, L"FreeMemory").asReal(), available, total / 20);
    EXPECT_EQ(get(memory, L"TotalSwap").asReal(), swapTotal);
    EXPECT_NEAR(get(memory, L"FreeSwap").asReal(), swapFree, swapTotal / 20 + 1);
}

TEST_F(OsPublisherTest, ProcessorsMatchNproc) {
    const auto processors = publish(*publisher_, L"NVX4_OS_CPUUsage");
    const long cpus = std::stol(commandOutput("nproc --all"));
    ASSERT_EQ(static_cast<long>(processors.size()), cpus + 1);
    EXPECT_EQ(text(processors.front(), L"Name"), "_Total");
    EXPECT_EQ(text(processors.back(), L"Name"), std::to_string(cpus - 1));
}

TEST_F(OsPublisherTest, LoopbackRatesFollowTrafficTheTestSends) {
    const int receiver = ::socket(AF_INET, SOCK_DGRAM, 0),
              sender = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(receiver, reinterpret_cast<sockaddr*>(&address), length), 0);
    ::getsockname(receiver, reinterpret_cast<sockaddr*>(&address), &length);
    const int kDatagrams = 2000, kSize = 1000;
    const auto start = Steady::now();  // before the publisher's earlier reading
    publish(*publisher_, L"NVX4_OS_NetworkUsage");
    const std::vector<char> payload(kSize, 'x');
    int sent = 0;
    for (int i = 0; i < kDatagrams; ++i)
        sent += ::sendto(sender, payload.data(), kSize, 0, reinterpret_cast<sockaddr*>(&address),
                         length) == kSize;
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    const auto rates = publish(*publisher_, L"NVX4_OS_NetworkUsage");
    const double window = std::chrono::duration<double>(Steady::now() - start).count();
    ::close(sender);
    ::close(receiver);

    const PropertyValues* lo = findBy(rates, L"Name", "lo");
    ASSERT_NE(lo, nullptr);
    const std::int64_t bytesSent = get(*lo, L"ByteSentPerSec").asSigned();
    EXPECT_GE(bytesSent, sent * kSize / window);
    EXPECT_LE(bytesSent, 4 * sent * kSize / 0.4 + (1 << 20));
    EXPECT_GE(get(*lo, L"PacketSentPerSec").asSigned(), sent / window);
    EXPECT_NEAR(get(*lo, L"ByteReceivedPerSec").asSigned(), bytesSent, bytesSent / 10 + 1000);
    EXPECT_EQ(get(*lo, L"ByteTotalPerSec").asSigned(),
              bytesSent + get(*lo, L"ByteReceivedPerSec").asSigned());
    // Every interface ip knows is there.
    for (const std::string& name :
         lines(commandOutput("ip -o link show | awk -F': ' '{print $2}' | cut -d@ -f1")))
        EXPECT_NE(findBy(rates, L"Name", name), nullptr);
}

}  // namespace
}  // namespace nvx4::repository::os::test
