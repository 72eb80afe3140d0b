#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>

#include "CommandOutput.h"
#include "PublishFailure.h"
#include "SmartPublisher.h"
#include "TestSupport.h"

namespace nvx4::repository {
namespace {

namespace fs = std::filesystem;
using nvx4::test::ScopedEnv;
using Json = nlohmann::json;

constexpr wchar_t kSmart[] = L"NVX4_OS_SMART";
const std::string kSearchPath = std::string(NVX4_SMART_STANDIN) + ":/usr/bin:/bin";

// smartctl on PATH is the stand-in; it answers with the documents copied to a folder of the test.
class SmartTest : public ::testing::Test {
  protected:
    SmartTest() { fs::copy(kFixtures, docs); }
    ~SmartTest() override { fs::remove_all(docs); }
    void document(const std::string& device, const std::string& content) {
        std::ofstream(docs + "/" + device + ".json") << content;
    }

    const std::string kFixtures = std::string(NVX4_SMART_STANDIN) + "/fixtures";
    std::string docs = [] {
        char pattern[] = "/tmp/nvx4-smart-XXXXXX";
        return std::string(mkdtemp(pattern));
    }();
    ScopedEnv docsVariable{"NVX4_SMART_DOCS", docs};
    ScopedEnv path{"PATH", kSearchPath};
};

// Through the built provider library: each SMART disk as the documents describe it; the disk
// without SMART is left out, the sleeping one is shown without details.
TEST_F(SmartTest, TheToolShowsEachSmartDiskAsSmartctlDescribesIt) {
    int status = -1;
    const std::string output = nvx4::test::commandOutput(
        std::string(NVX4_ENUM_TOOL) + " -r smart --format json 1045", &status);
    ASSERT_EQ(status, 0) << output;
    const Json records = Json::parse(output).at(0).at("records");
    const Json expected = Json::parse(R"([
      ["/dev/sda", "4", "Drayfield HX1000 7200rpm 1TB", "DH1T7C5522013", 16, "No alert"],
      ["/dev/sdb", "3", "Drayfield DS480 SSD 480GB", "DF4M21170455", 16,
       "Predicted failure: Reallocated_Sector_Ct, Current_Pending_Sector"],
      ["/dev/sdc", "0", "", "", 0, "Unknown: disk in standby"],
      ["/dev/nvme0", "3", "Drayfield DN2 NVMe 1TB", "DN2X88120441", 0, "No alert"],
      ["/dev/nvme1", "3", "Drayfield DN1 NVMe 256GB", "DN1A00173311", 0,
       "Predicted failure: critical warning 0x04"]])");
    ASSERT_EQ(records.size(), expected.size()) << output;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Json& r = records[i];
        const Json row = {r["DiskID"],       r["DiskType"],          r["ModelName"],
                          r["SerialNumber"], r["SMARTAttrRevision"], r["SMARTAlert"]};
        EXPECT_EQ(row, expected[i]);
        EXPECT_EQ(r["SMARTThresholdRevision"], r["SMARTAttrRevision"]);
    }
    EXPECT_NE(
        nvx4::test::readFile(docs + "/calls").find("--json -i -H -A -n standby -d sat /dev/sdc"),
        std::string::npos);
}

TEST_F(SmartTest, ReadingsAreCachedAndASleepingDiskKeepsItsLastReading) {
    const auto sdcAs = [this](const std::string& fixture) {
        fs::copy_file(kFixtures + "/" + fixture + ".json", docs + "/sdc.json",
                      fs::copy_options::overwrite_existing);
    };
    sdcAs("sdc-awake");
    auto publisher = SmartPublisher::make("cache=0");
    const PropertyValues awake = publisher->publish(kSmart).instances.at(2);
    sdcAs("sdc");
    EXPECT_EQ(publisher->publish(kSmart).instances.at(2), awake);

    auto cached = SmartPublisher::make("");
    cached->publish(kSmart);
    cached->publish(kSmart);
    const std::string calls = nvx4::test::readFile(docs + "/calls");
    std::size_t scans = 0;
    for (std::size_t at = 0; (at = calls.find("--scan-open", at)) != std::string::npos; ++at)
        ++scans;
    EXPECT_EQ(scans, 3u) << "two by the uncached publisher, one by the cached one";
}

TEST_F(SmartTest, WithoutSmartctlOrSmartDisksTheClassIsEmptyAndSaysWhy) {
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[] { setenv("PATH", "/nonexistent", 1); },
         "smartctl is not installed (not found on PATH)"},
        {[this] { document("scan", R"({"smartctl": {"exit_status": 0}})"); },
         "smartctl found no disk"},
        {[this] { document("scan", R"({"devices": [{"name": "/dev/sdd", "type": "scsi"}]})"); },
         "no SMART-capable disk (no SMART data from /dev/sdd)"}};
    for (const auto& [setUp, why] : cases) {
        setenv("PATH", kSearchPath.c_str(), 1);
        setUp();
        const Publication p = SmartPublisher::make("")->publish(kSmart);
        EXPECT_TRUE(p.instances.empty()) << why;
        EXPECT_EQ(p.absent, why);
    }
}

TEST_F(SmartTest, ASmartctlThatHangsOrSaysNothingUsableFailsTheClass) {
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[] { setenv("NVX4_SMART_SLEEP", "5", 1); },
         "smartctl --scan-open --json did not finish within 1 s"},
        {[this] { document("nvme0", "Segmentation fault"); },
         "smartctl --json -i -H -A -n standby -d nvme /dev/nvme0 gave no JSON (exit status 0)"}};
    for (const auto& [setUp, why] : cases) {
        ScopedEnv sleep("NVX4_SMART_SLEEP", std::nullopt);
        setUp();
        EXPECT_EQ(
            nvx4::test::publishFailure([] { SmartPublisher::make("timeout=1")->publish(kSmart); }),
            std::to_string(PublishError::kProviderFailure) + " " + why);
        int status = 0;
        EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1) << "every child reaped";
    }
}

TEST(SmartArgumentTest, TakesCacheAndTimeoutSeconds) {
    const SmartPublisher::Settings s = SmartPublisher::parse("timeout=5,cache=0");
    EXPECT_EQ(s.cache.count(), 0);
    EXPECT_EQ(s.timeout.count(), 5);
    EXPECT_EQ(SmartPublisher::parse("").cache.count(), 300);
    for (const char* bad : {"cache=", "cache=-1", "cache=5m", "timeout=0", "cache=86401",
                            "cache=1,", "speed=3", "/dev/sda"})
        EXPECT_THROW(SmartPublisher::parse(bad), std::invalid_argument) << bad;
}

}  // namespace
}  // namespace nvx4::repository
