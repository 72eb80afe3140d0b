// The row loop of the enumeration procedure over a result set whose rows the test supplies.
#include <gtest/gtest.h>

#include <map>
#include <variant>

#include "ExpectThrowCode.h"
#include "enum_inband.h"

namespace {

struct Sample {
    unsigned short Index;
    std::string Name;
    int Count;
    short Low;
    std::string LowText;
    std::string Ratio;
};

struct Flagged {
    std::string Enabled;
};

}  // namespace

namespace nvx4 {
template <>
struct RecordTraits<Sample> {
    static constexpr int classId = 9001;
    static constexpr Field<Sample> fields[] = {
        textField("Name", &Sample::Name),       integerField("Count", &Sample::Count),
        shortField("Low", &Sample::Low),        shortTextField("LowText", &Sample::LowText),
        realTextField("Ratio", &Sample::Ratio),
    };
};
template <>
struct RecordTraits<Flagged> {
    static constexpr int classId = 9002;
    static constexpr Field<Flagged> fields[] = {booleanTextField("Enabled", &Flagged::Enabled)};
};
}  // namespace nvx4

namespace {

using Value = std::variant<int, double, std::string>;
using Row = std::map<std::string, Value>;

// Rows given by the test; a missing property or a value of another kind raises as a driver does.
class RowsResultSet : public DBResultSet {
  public:
    explicit RowsResultSet(std::vector<Row> rows) : rows_(std::move(rows)) {}
    bool next() override { return ++current_ < static_cast<int>(rows_.size()); }
    std::string getString(const std::string& name) override { return get<std::string>(name); }
    int getString(const std::string&, char*, int) override { return 0; }
    double getDouble(const std::string& name) override { return get<double>(name); }
    int getInt(const std::string& name) override { return get<int>(name); }

  private:
    template <class T>
    T get(const std::string& name) {
        const Row& row = rows_.at(static_cast<size_t>(current_));
        auto found = row.find(name);
        if (found == row.end()) throw CDBC_Exception("rows", 1, 0x22000FF9, "missing " + name);
        return std::get<T>(found->second);
    }
    std::vector<Row> rows_;
    int current_ = -1;
};

Row sampleRow(const std::string& name, int count, int low, double ratio) {
    return {{"Name", name}, {"Count", count}, {"Low", low}, {"LowText", low}, {"Ratio", ratio}};
}

TEST(ReadRecords, FillsEveryKindAndNumbersRowsInOrder) {
    RowsResultSet rows({sampleRow("fan1", 7, 65536, 2.0), sampleRow("fan2", -3, -1, -0.5),
                        sampleRow("fan3", 0, 65535, 12.5)});
    const auto records = nvx4::readRecords<Sample>(rows);
    ASSERT_EQ(records.size(), 3u);
    const struct {
        unsigned short index;
        const char* name;
        int count;
        short low;
        const char* lowText;
        const char* ratio;
    } expected[] = {{1, "fan1", 7, 0, "0", "2.000000"},
                    {2, "fan2", -3, -1, "65535", "-0.500000"},
                    {3, "fan3", 0, -1, "65535", "12.500000"}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(records[i].Index, expected[i].index);
        EXPECT_EQ(records[i].Name, expected[i].name);
        EXPECT_EQ(records[i].Count, expected[i].count);
        EXPECT_EQ(records[i].Low, expected[i].low);
        EXPECT_EQ(records[i].LowText, expected[i].lowText);
        EXPECT_EQ(records[i].Ratio, expected[i].ratio);
    }
}

TEST(ReadRecords, NoRowsGiveNoRecords) {
    RowsResultSet rows({});
    EXPECT_TRUE(nvx4::readRecords<Sample>(rows).empty());
}

TEST(ReadRecords, AFailingPropertyAbandonsTheWalk) {
    Row broken = sampleRow("fan2", 1, 1, 1.0);
    broken.erase("Count");
    RowsResultSet rows({sampleRow("fan1", 1, 1, 1.0), broken, sampleRow("fan3", 1, 1, 1.0)});
    EXPECT_CDBC_THROW(nvx4::readRecords<Sample>(rows), 0x22000FF9, "missing Count");
}

TEST(ReadRecords, BooleansNeedTheWmiResultSet) {
    RowsResultSet rows({Row{{"Enabled", 1}}});
    EXPECT_CDBC_THROW(nvx4::readRecords<Flagged>(rows), 0x22000FFB, "type cast error");
}

TEST(EnumerationUrl, IsTheLocalRepositoryNamespace) {
    EXPECT_EQ(nvx4::connectionUrl("localhost"),
              "wmi:localhost//user=,password=,namespace=root\\nvx4\\node");
}

}  // namespace
