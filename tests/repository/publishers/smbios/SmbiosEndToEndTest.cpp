// The publisher as a user meets it: the built provider library, loaded by nvx4-enum as an agent
// loads it, over a dump file, against dmidecode's decoding of the same file.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>

#include "DmidecodeView.h"
#include "SmbiosFixtures.h"
#include "TestSupport.h"
#include "nvx4/repository/Utf8.h"

namespace nvx4::test {
namespace {

std::string run(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
    std::string output;
    char chunk[4096];
    std::size_t n;
    while (pipe && (n = std::fread(chunk, 1, sizeof chunk, pipe.get())) > 0)
        output.append(chunk, n);
    return output;
}

// A property as its record field shows it: numbers as numbers or decimal text, reals as "%.6f",
// booleans as "true"/"false".
bool sameAsField(const Value& expected, const nlohmann::json& field) {
    switch (expected.kind()) {
        case Value::Kind::Text:
            return field == dotted(repository::Utf8::toNarrow(expected.asText()));
        case Value::Kind::Real: {
            char text[64];
            std::snprintf(text, sizeof text, "%.6f", expected.asReal());
            return field == text;
        }
        case Value::Kind::Boolean:
            return field == (expected.asBoolean() ? "true" : "false");
        default:
            return field.is_number() ? field == expected.asSigned()
                                     : field == std::to_string(expected.asSigned());
    }
}

TEST(SmbiosEndToEndTest, TheProviderLibraryServesADumpAsDmidecodeReadsIt) {
    if (std::system("dmidecode --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "dmidecode is not installed";
    TempPath dump("table.bin");
    SmbiosWriter::save(dump.path(), inventory(3, 4).dump(SmbiosWriter::Anchor::V3, 3, 4));
    const Records records = Dmidecode::run("--from-dump " + dump.path());
    const std::string output = run(std::string(NVX4_ENUM) + " --repository smbios=" + dump.path() +
                                   " --format json all 2>&1");
    const nlohmann::json classes = nlohmann::json::parse(output, nullptr, false);
    ASSERT_TRUE(classes.is_array()) << output;
    int compared = 0;
    for (const ClassView& view : dmidecodeViews()) {
        const std::string name = repository::Utf8::toNarrow(view.className);
        SCOPED_TRACE(name);
        const auto cls = std::find_if(classes.begin(), classes.end(),
                                      [&](const nlohmann::json& c) { return c["class"] == name; });
        ASSERT_NE(cls, classes.end());
        std::vector<const DmiRecord*> selected;
        for (const DmiRecord& r : records)
            if (view.selects(r)) selected.push_back(&r);
        const nlohmann::json& rows = (*cls)["records"];
        ASSERT_EQ(rows.size(), selected.size());
        for (std::size_t i = 0; i < selected.size(); ++i) {
            EXPECT_EQ(rows[i]["Handle"], selected[i]->handle);
            for (const auto& [property, expect] : view.properties) {
                const std::optional<Value> expected = expect(*selected[i], records);
                if (!expected || expected->isNull()) continue;
                const nlohmann::json& field = rows[i][repository::Utf8::toNarrow(property)];
                EXPECT_TRUE(sameAsField(*expected, field))
                    << repository::Utf8::toNarrow(property) << ": " << field.dump();
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 100);
}

}  // namespace
}  // namespace nvx4::test
