#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "DmidecodeView.h"
#include "RepositoryTesting.h"
#include "SmbiosClasses.h"
#include "SmbiosPublisher.h"
#include "SmbiosWriter.h"
#include "nvx4/repository/Utf8.h"

namespace nvx4::repository::test {
namespace {

using nvx4::test::Bytes;
using nvx4::test::ClassView;
using nvx4::test::DmiRecord;
using nvx4::test::Fields;
using nvx4::test::Records;
using nvx4::test::ScopedEnv;
using nvx4::test::SmbiosWriter;
using nvx4::test::TempPath;
using smbios::SmbiosPublisher;
using smbios::SmbiosTable;
using Anchor = SmbiosWriter::Anchor;

// Through the repository, as the provider meets the publisher.
class SmbiosTest : public IsolatedRepository {
  protected:
    using IsolatedRepository::enumerate;
    Repository::Enumeration enumerate(const std::string& sources, const std::wstring& className) {
        ScopedEnv variable(kRepositoryVariable, sources);
        return enumerate(className);
    }

    // Each instance of the class against the dmidecode record it comes from, in table order.
    void expectMatches(const std::string& sources, const ClassView& view, const Records& all) {
        SCOPED_TRACE(Utf8::toNarrow(view.className));
        const Repository::Enumeration found = enumerate(sources, view.className);
        ASSERT_EQ(found.status, 0);
        const std::vector<const DmiRecord*> records = view.recordsIn(all);
        ASSERT_EQ(found.instances->size(), records.size()) << "every whole structure published";
        for (std::size_t i = 0; i < records.size(); ++i) {
            const Instance& instance = *(*found.instances)[i];
            EXPECT_EQ(valueOf(instance, L"Handle"), Value::integer(records[i]->handle));
            for (const auto& [property, expect] : view.properties) {
                const std::optional<Value> expected = expect(*records[i], all);
                if (!expected) continue;
                Value actual = valueOf(instance, property);
                if (actual.kind() == Value::Kind::Text)
                    actual = Value::text(nvx4::test::dotted(Utf8::toNarrow(actual.asText())));
                const bool same =
                    actual.kind() == Value::Kind::Real && expected->kind() == Value::Kind::Real
                        ? std::fabs(actual.asReal() - expected->asReal()) < 1e-9
                        : actual == *expected;
                EXPECT_TRUE(same) << "handle " << records[i]->handle << " "
                                  << Utf8::toNarrow(property) << ": published " << shown(actual)
                                  << ", dmidecode " << shown(*expected);
            }
        }
    }
};

// A table cut `cut` bytes before its end (no end-of-table structure), with an entry point that
// says so.
Bytes cutDump(int cut) {
    Bytes table = nvx4::test::inventory(3, 2).table(false);
    table.resize(table.size() - cut);
    Bytes dump = SmbiosWriter::entryPoint(Anchor::V3, 3, 2, table.size(), 0, 0x20);
    dump.resize(0x20, 0);
    dump.insert(dump.end(), table.begin(), table.end());
    return dump;
}

// A dump the test builds (none: no file at all) and, for a dump the publisher refuses, what it
// traces.
struct DumpCase {
    const char* name;
    std::function<Bytes()> build;
    const char* traced = nullptr;
};
void PrintTo(const DumpCase& c, std::ostream* os) { *os << c.name; }

// The fixture as a table of that version writes it.
template <int major, int minor, Anchor anchor = major<3 ? Anchor::V2 : Anchor::V3> Bytes version() {
    return nvx4::test::inventory(major, minor).dump(anchor, major, minor);
}

const DumpCase kDumps[] = {
    {"Version2_0", version<2, 0>},
    {"Legacy2_0", version<2, 0, Anchor::Legacy>},
    {"Version2_3", version<2, 3>},
    {"Version2_7", version<2, 7>},
    {"Version3_4", version<3, 4>},
    // Text at its limits: UTF-8, long strings, strings missing or out of reach.
    {"EdgeStrings",
     [] {
         nvx4::test::InventoryStrings strings;
         strings.product = "W\xC3\xBCstenfuchs \xE2\x80\x93 \xE6\x9D\xB1\xE4\xBA\xAC";  // UTF-8
         strings.serial = std::string(100, 'S') + "-end";
         strings.version = std::string(64, 'v');
         SmbiosWriter w = nvx4::test::inventory(3, 2, strings);
         w.add(1, 0x0100, Fields{0, 0, 0, 0});  // no strings at all, every index 0
         // An empty first string ends the set: no string can be reached.
         w.add(1, 0x0101, Fields{1, 2, 3, 3}, {"", "after", "x"});
         // An index beyond the strings; a baseboard too short for its board type.
         w.add(2, 0x0102, Fields{1, 7, 2, 1}, {"Maker", "v2"});
         return w.dump(Anchor::V3, 3, 2);
     }},
    {"TableCutInStrings", [] { return cutDump(3); }},
    {"TableCutInFormattedArea", [] { return cutDump(12); }},
    {"StringSetWithoutTerminator", [] { return cutDump(1); }},
    {"LengthBelowHeader",
     [] {
         SmbiosWriter w = nvx4::test::inventory(2, 8);
         w.raw({26, 3, 0x40, 0x00, 0, 0});
         w.add(24, 0x0041, Fields{0x00});
         return w.dump(Anchor::V2, 2, 8);
     }},
};

class SmbiosDumpTest : public SmbiosTest, public ::testing::WithParamInterface<DumpCase> {};

TEST_P(SmbiosDumpTest, EveryClassMatchesDmidecodeOnTheSameBytes) {
    if (!nvx4::test::dmidecodeAvailable()) GTEST_SKIP() << "dmidecode is not installed";
    TempPath dump("table.bin");
    SmbiosWriter::save(dump.path(), GetParam().build());
    const Records records = nvx4::test::dmidecode("--from-dump " + dump.path());
    ASSERT_FALSE(records.empty());
    for (const ClassView& view : nvx4::test::dmidecodeViews())
        expectMatches("smbios=" + dump.path(), view, records);
}

INSTANTIATE_TEST_SUITE_P(Smbios, SmbiosDumpTest, ::testing::ValuesIn(kDumps),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SmbiosTest, TheMachinesTablesMatchDmidecode) {
    const std::string tables = SmbiosPublisher::kKernelTables;
    if (access((tables + "/DMI").c_str(), R_OK) != 0 || !nvx4::test::dmidecodeAvailable())
        GTEST_SKIP() << "no readable SMBIOS tables on this machine (" << tables
                     << "): 1001, 1007, 1008 and 1013 not compared with dmidecode -t 0,1,4,2";
    const Records records = nvx4::test::dmidecode("-t 0,1,4,2");
    for (const wchar_t* cls : {L"NVX4_SMBIOS_BIOS", L"NVX4_SMBIOS_ComputerSystemProduct",
                               L"NVX4_SMBIOS_Processor", L"NVX4_SMBIOS_Baseboard"})
        expectMatches("smbios", nvx4::test::viewOf(cls), records);
}

Bytes corrupted(std::size_t at, std::uint8_t value, std::size_t keep = SIZE_MAX) {
    Bytes dump = version<3, 4>();
    if (at < dump.size()) dump[at] = value;
    dump.resize(std::min(keep, dump.size()));
    return dump;
}

const DumpCase kFailures[] = {
    {"NoEntryPoint", [] { return corrupted(1, 'X'); }, "no SMBIOS entry point"},
    {"WrongChecksum", [] { return corrupted(5, 0); }, "entry point's checksum is wrong"},
    {"EntryPointCutOff", [] { return corrupted(0, '_', 0x10); }, "entry point is cut off"},
    {"WrongIntermediateChecksum",
     [] {
         Bytes dump = nvx4::test::inventory(2, 8).dump(Anchor::V2, 2, 8);
         dump[0x15] ^= 1;
         dump[4] ^= 0xFF;  // the outer checksum still fits
         dump[0x0B] ^= 0xFE;
         return dump;
     },
     "entry point's checksum is wrong"},
    {"TableBeyondTheFile", [] { return corrupted(0, '_', 0x18); }, "lies beyond the end"},
    {"NoFile", nullptr, "table.bin: No such file or directory"},
};

class SmbiosFailureTest : public SmbiosTest, public ::testing::WithParamInterface<DumpCase> {};

TEST_P(SmbiosFailureTest, FailsTheClassesWithProviderFailureAndSaysWhy) {
    TempPath dump("table.bin");
    if (GetParam().build) SmbiosWriter::save(dump.path(), GetParam().build());
    Repository::Enumeration found;
    const std::string output =
        traced([&] { found = enumerate("smbios=" + dump.path(), L"NVX4_SMBIOS_BIOS"); });
    EXPECT_EQ(found.status, PublishError::kProviderFailure);
    EXPECT_NE(output.find("NVX4_SMBIOS_BIOS failed: "), std::string::npos) << output;
    EXPECT_NE(output.find(GetParam().traced), std::string::npos) << output;
}

INSTANTIATE_TEST_SUITE_P(Smbios, SmbiosFailureTest, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SmbiosTest, WithoutTablesTheClassesAreEmptyWithOneTraceLine) {
    TempPath folder("none");  // a folder without the kernel's two files
    const std::string source = "smbios=" + folder.path().substr(0, folder.path().rfind('/'));
    for (const auto& cls : smbios::smbiosClasses()) {
        Repository::Enumeration found;
        const std::string output = traced([&] { found = enumerate(source, cls.name); });
        EXPECT_EQ(found.status, 0);
        EXPECT_TRUE(found.instances->empty());
        EXPECT_NE(output.find(" is empty: no SMBIOS tables on this machine (/tmp/nvx4-test-"),
                  std::string::npos)
            << output;
    }
}

// A folder laid out as the kernel's: tables/ with the entry point and the table (from address
// 0), and, when given, the event-log area under entries/.
struct KernelFolder {
    explicit KernelFolder(const std::optional<Bytes>& logArea, std::uint8_t accessMethod = 3) {
        char pattern[] = "/tmp/nvx4-smbios-XXXXXX";
        root = mkdtemp(pattern);
        std::filesystem::create_directories(tables());
        Bytes table = nvx4::test::inventory(3, 4).table();
        const Bytes header = {15, 0x1D, 0x0D, 0x00};  // the fixture's type-15 structure
        *(std::search(table.begin(), table.end(), header.begin(), header.end()) + 0x0A) =
            accessMethod;
        SmbiosWriter::save(tables() + "/smbios_entry_point",
                           SmbiosWriter::entryPoint(Anchor::V3, 3, 4, table.size(), 0, 0x7F000000));
        SmbiosWriter::save(tables() + "/DMI", table);
        if (!logArea) return;
        const std::string log = root + "/entries/15-0/system_event_log";
        std::filesystem::create_directories(log);
        SmbiosWriter::save(log + "/raw_event_log", *logArea);
    }
    ~KernelFolder() { std::filesystem::remove_all(root); }
    std::string tables() const { return root + "/tables"; }
    std::string root;
};

TEST_F(SmbiosTest, EventLogRecordsComeFromTheLogAreaTheKernelExposes) {
    // The fixture's log keeps its records from offset 0x10, after a 16-byte header.
    Bytes area(0x10, 0);
    area.insert(area.end(),
                {0x08, 0x8C, 0x23, 0x03, 0x14, 0x10, 0x20, 0x30, 1, 2, 3, 4,  // read
                 0x01, 0x08, 0x99, 0x12, 0x31, 0x23, 0x59, 0x59,              // 1999
                 0x85, 0x08, 0xAA, 0,    0,    0,    0,    0,                 // time not BCD
                 0x02, 0x03, 0,    0,    0,    0,    0,    0,  // length below the header: the end
                 0x01, 0x08, 0x23, 0x01, 0x01, 0,    0,    0});
    KernelFolder folder(area);
    const Repository::Enumeration found =
        enumerate("smbios=" + folder.tables(), L"NVX4_SMBIOS_SystemEventLogRecord");
    ASSERT_EQ(found.status, 0);
    ASSERT_EQ(found.instances->size(), 3u);
    const std::pair<const wchar_t*, std::vector<Value>> columns[] = {
        {L"RecordID", {Value::integer(1), Value::integer(2), Value::integer(3)}},
        {L"MessageTimestamp",
         {Value::text("20230314102030.000000+000"), Value::text("19991231235959.000000+000"),
          Value()}},
        {L"Description",
         {Value::text("POST error, read"), Value::text("Single-bit ECC memory error, not read"),
          Value::text("OEM-specific, not read")}},
        {L"RecordLength", {Value::integer(12), Value::integer(8), Value::integer(8)}},
    };
    for (const auto& [property, values] : columns)
        for (std::size_t i = 0; i < values.size(); ++i)
            EXPECT_EQ(valueOf(*(*found.instances)[i], property), values[i])
                << Utf8::toNarrow(property) << " of record " << i + 1;
}

TEST_F(SmbiosTest, WithoutALogAreaTheEventLogRecordsAreEmpty) {
    TempPath dump("table.bin");
    SmbiosWriter::save(dump.path(), version<3, 4>());
    KernelFolder folder(std::nullopt);
    KernelFolder nonVolatile(Bytes(0x100, 0xFF), 4);  // reading it would fail
    for (const auto& [source, why] :
         {std::pair{"smbios=" + dump.path(), "a dump holds the table, not the event-log area"},
          std::pair{"smbios=" + folder.tables(), "the kernel does not expose the event-log area"},
          std::pair{"smbios=" + nonVolatile.tables(),
                    "the kernel cannot read a log of this access method"}}) {
        Repository::Enumeration found;
        const std::string output = traced([&, &source = source] {
            found = enumerate(source, L"NVX4_SMBIOS_SystemEventLogRecord");
        });
        EXPECT_NE(output.find(why), std::string::npos) << source;
        EXPECT_EQ(found.status, 0);
        EXPECT_TRUE(found.instances->empty());
        EXPECT_EQ(enumerate(source, L"NVX4_SMBIOS_SystemEventLog").instances->size(), 1u);
    }
}

TEST(SmbiosPublisherTest, FillsClasses1001To1020Only) {
    SmbiosPublisher publisher("");
    EXPECT_TRUE(publisher.fills(L"nvx4_smbios_bios"));
    EXPECT_TRUE(publisher.fills(L"NVX4_SMBIOS_HWSecurity"));
    EXPECT_FALSE(publisher.fills(L"NVX4_IPMI_BMC"));
    EXPECT_FALSE(publisher.fills(L"NVX4_SMBIOS"));
}

TEST(SmbiosReleaseDateTest, BecomesADatetimeWhereItIsOne) {
    const std::pair<const char*, const char*> cases[] = {
        {"12/31/99", "19991231000000.000000+000"},
        {"13/01/2020", "13/01/2020"},
        {"2020-01-01", "2020-01-01"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(smbios::releaseDate(text), expected);
}

}  // namespace
}  // namespace nvx4::repository::test
