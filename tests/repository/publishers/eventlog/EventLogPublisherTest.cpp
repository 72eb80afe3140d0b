#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "AsNobody.h"
#include "CommandOutput.h"
#include "EventLogPublisher.h"
#include "JournalExport.h"
#include "PublishFailure.h"
#include "TestSupport.h"

namespace nvx4::repository {
namespace {

using nvx4::test::JournalFields;
using Json = nlohmann::json;

const wchar_t* const kClassOf[] = {L"NVX4_OS_ApplicationEventLog", L"NVX4_OS_SecurityEventLog",
                                   L"NVX4_OS_SystemEventLog"};
const std::string kLong(4093, 'x');
const std::string kKept = kLong.substr(1) + "\xf0\x9f\x8c\x8d";

// A field of journalctl's JSON as bytes: a string, or an array of byte values for binary data.
std::string fieldOf(const Json& entry, const char* name) {
    if (!entry.contains(name) || entry[name].is_string()) return entry.value(name, "");
    std::string bytes;
    for (const Json& byte : entry[name]) bytes += static_cast<char>(byte.get<int>());
    return bytes;
}

struct EntryCase {
    const char* fields;   // "NAME=value NAME=value"
    std::string message;  // "" for "case N"
    EventLog log;
    const char* type;
    const char* user;         // "" for no _UID
    const char* description;  // nullptr: the message as journalctl shows it
};

constexpr EventLog kApp = EventLog::Application, kSec = EventLog::Security, kSys = EventLog::System;
const char* const kInfo = "Information";

// clang-format off
const EntryCase kCases[] = {
    {"_TRANSPORT=kernel PRIORITY=2 SYSLOG_IDENTIFIER=kernel", "", kSys, "Error", "", nullptr},
    {"SYSLOG_FACILITY=0 PRIORITY=4 _UID=0", "", kSys, "Warning", "root", nullptr},
    {"SYSLOG_FACILITY=3 _SYSTEMD_USER_UNIT=a.service", "", kSys, kInfo, "", nullptr},
    {"_SYSTEMD_UNIT=cron.service PRIORITY=3 _COMM=cron", "", kSys, "Error", "", nullptr},
    {"SYSLOG_FACILITY=4 PRIORITY=5 _SYSTEMD_UNIT=ssh.service", "", kSec, kInfo, "", nullptr},
    {"SYSLOG_FACILITY=10", "pam_unix(sshd:auth): failure; res=failed", kSec, "Audit Failure", "",
     nullptr},
    {"_TRANSPORT=audit PRIORITY=0 _UID=65534", "USER_LOGIN msg='op=login acct=\"x\" res=success'",
     kSec, "Audit Success", "nobody", nullptr},
    {"_SYSTEMD_UNIT=user@1000.service _SYSTEMD_USER_UNIT=app.service PRIORITY=1 _UID=4242424", "",
     kApp, "Error", "4242424", nullptr},
    {"_SYSTEMD_UNIT=session-4.scope _SYSTEMD_SESSION=4", "", kApp, kInfo, "", nullptr},
    {"_SYSTEMD_UNIT=web.service SYSLOG_FACILITY=1 PRIORITY=7", "", kApp, kInfo, "", nullptr},
    {"PRIORITY=x", "Grüße, 世界 🌍", kApp, kInfo, "", nullptr},
    {"", std::string("bin\0ary\xff\nline", 13), kApp, kInfo, "", "bin\uFFFDary\uFFFD\nline"},
    // A character that would cross the 4,096-byte bound is left out; one that ends on it is kept.
    {"", kLong + "\xf0\x9f\x8c\x8dtail", kApp, kInfo, "", kLong.c_str()},
    {"", kKept + "!", kApp, kInfo, "", kKept.c_str()},
};
// clang-format on

class EventLogJournalTest : public ::testing::Test {
  protected:
    // Writes the entries one second and a microsecond apart, all but the last with a host name,
    // and reads them back as journalctl shows them.
    void write(const std::vector<JournalFields>& entries) {
        nvx4::test::JournalExport out(file.path());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            JournalFields fields = entries[i];
            if (i + 1 < entries.size()) fields.emplace_back("_HOSTNAME", "journal-test-host");
            out.add(1718000000123456 + i * 1000001, fields);
        }
        ASSERT_TRUE(out.finish());
        const std::string output =
            nvx4::test::commandOutput("journalctl --directory='" + directory + "' -o json --all");
        for (std::size_t at = 0, end; (end = output.find('\n', at)) != std::string::npos;
             at = end + 1)
            journal.push_back(Json::parse(output.substr(at, end - at)));
        ASSERT_EQ(journal.size(), entries.size());
    }

    // The three logs through the built provider library, as an agent sees them.
    static Json enumerated(const std::string& source) {
        int status = -1;
        const std::string output = nvx4::test::commandOutput(
            std::string(NVX4_ENUM_TOOL) + " --repository 'eventlog=" + source +
                "' --format json 1041 1042 1043",
            &status);
        EXPECT_EQ(status, 0) << output;
        return Json::parse(output);
    }
    // The sequence number inside journalctl's cursor ("...;i=<hex>;...").
    static std::string seqnum(const Json& entry) {
        const std::string cursor = entry.at("__CURSOR").get<std::string>();
        return std::to_string(std::strtoull(&cursor[cursor.find(";i=") + 3], nullptr, 16));
    }

    nvx4::test::TempPath file{"x.journal"};
    std::string directory = file.path().substr(0, file.path().rfind('/'));
    std::vector<Json> journal;  // as journalctl shows it
    nvx4::test::ScopedEnv zone{"TZ", "NST+3:30"};
};

// Through the built provider library, as an agent sees the logs.
TEST_F(EventLogJournalTest, EachLogHoldsItsEntriesFieldByFieldAsJournalctlShowsThem) {
    std::vector<JournalFields> entries;
    for (const EntryCase& c : kCases) {
        JournalFields& fields = entries.emplace_back();
        std::istringstream words(c.fields);
        for (std::string word; words >> word;)
            fields.emplace_back(word.substr(0, word.find('=')), word.substr(word.find('=') + 1));
        fields.emplace_back(
            "MESSAGE", c.message.empty() ? "case " + std::to_string(entries.size()) : c.message);
    }
    write(entries);
    const Json tables = enumerated(directory);
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    for (int log = 0; log < 3; ++log) {
        const Json& records = tables.at(log).at("records");
        std::size_t k = 0;
        for (std::size_t i = 0; i < journal.size(); ++i) {
            const EntryCase& c = kCases[i];
            const Json& entry = journal[i];
            if (int(c.log) != log) continue;
            SCOPED_TRACE("case " + std::to_string(i + 1));
            ASSERT_LT(k, records.size());
            const Json& record = records[k++];
            EXPECT_EQ(record["SystemName"],
                      entry.contains("_HOSTNAME") ? entry["_HOSTNAME"] : host);
            EXPECT_EQ(record["RecordID"], seqnum(entry));
            // As date shows it in the tests' zone, 3 h 30 min west of UTC.
            const std::string usec = entry.at("__REALTIME_TIMESTAMP").get<std::string>();
            const std::string local = nvx4::test::commandOutput(
                "date -d @" + usec.substr(0, usec.size() - 6) + " +%Y%m%d%H%M%S");
            EXPECT_EQ(record["MessageTimestamp"],
                      local.substr(0, 14) + "." + usec.substr(usec.size() - 6) + "-210");
            const std::string identifier = fieldOf(entry, "SYSLOG_IDENTIFIER");
            EXPECT_EQ(record["SourceName"],
                      identifier.empty() ? fieldOf(entry, "_COMM") : identifier);
            EXPECT_EQ(record["Type"], c.type);
            EXPECT_EQ(record["User"], c.user);
            const std::string message = fieldOf(entry, "MESSAGE");
            EXPECT_EQ(record["Description"], c.description ? c.description : message);
        }
        EXPECT_EQ(k, records.size());
    }
}

// Each log keeps its newest entries, oldest first. Security entries are found through the
// journal's indexes however far back they lie; the other logs look only at the most recent
// 100 x limit entries.
TEST_F(EventLogJournalTest, TheLimitKeepsTheNewestEntriesOfEachLogWithinTheWindow) {
    const JournalFields kinds[] = {
        {{"SYSLOG_FACILITY", "1"}}, {{"SYSLOG_FACILITY", "4"}}, {{"_TRANSPORT", "kernel"}}};
    std::vector<JournalFields> entries = {kinds[0], kinds[1]};
    for (int i = 0; i < 300; ++i) entries.push_back(kinds[i < 298 ? 2 : i % 2]);
    for (std::size_t i = 0; i < entries.size(); ++i)
        entries[i].emplace_back("MESSAGE", "entry " + std::to_string(i));
    write(entries);
    const std::vector<std::vector<std::size_t>> expected = {{300}, {1, 301}, {298, 299}};
    const Json tables = enumerated(directory + ",limit=2");
    for (int log = 0; log < 3; ++log) {
        const Json& records = tables.at(log).at("records");
        ASSERT_EQ(records.size(), expected[log].size());
        for (std::size_t k = 0; k < records.size(); ++k) {
            const Json& entry = journal[expected[log][k]];
            EXPECT_EQ(records[k]["Description"], fieldOf(entry, "MESSAGE"));
            EXPECT_EQ(records[k]["RecordID"], seqnum(entry));
        }
    }
}

TEST(EventLogArgumentTest, TakesADirectoryAndALimit) {
    using Good = std::tuple<const char*, const char*, std::size_t>;
    for (const auto& [argument, directory, limit] :
         {Good{"", "", 1000}, Good{"/j", "/j", 1000}, Good{"limit=7,/j", "/j", 7},
          Good{"/j,limit=1000000", "/j", 1000000}}) {
        const EventLogPublisher::Settings s = EventLogPublisher::parse(argument);
        EXPECT_EQ(s.directory, directory) << argument;
        EXPECT_EQ(s.limit, limit) << argument;
    }
    for (const char* bad :
         {"limit=0", "limit=5x", "limit=", "limit=1000001", "/j,", "/j,/k", "/j,size=3", ","})
        EXPECT_THROW(EventLogPublisher::parse(bad), std::invalid_argument) << bad;
}

TEST_F(EventLogJournalTest, WithoutJournalFilesTheLogsAreEmptyAndSayWhy) {
    for (const std::string& where : {directory, file.path()})
        for (const wchar_t* cls : kClassOf) {
            const Publication p = EventLogPublisher::make(where)->publish(cls);
            EXPECT_TRUE(p.instances.empty());
            EXPECT_EQ(p.absent, "no journal files in " + where);
        }
}

// A journal file the reader may not open fails the logs, rather than showing them without its
// entries.
TEST_F(EventLogJournalTest, AnUnreadableJournalFileDeniesAccess) {
    write({{{"MESSAGE", "secret"}}});
    ASSERT_EQ(::chmod(directory.c_str(), 0755) | ::chmod(file.path().c_str(), 0), 0);
    EXPECT_EQ(nvx4::test::asNobody([this] {
                  return nvx4::test::publishFailure(
                      [this] { EventLogPublisher::make(directory)->publish(kClassOf[0]); });
              }),
              std::to_string(PublishError::kAccessDenied) + " cannot read " + file.path() +
                  ": Permission denied");
}

}  // namespace
}  // namespace nvx4::repository
