// What the row loop does beyond the conversions that the all-classes test checks through the
// library: booleans from a result set of another driver, and reals, which no class holds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include "ExpectThrowCode.h"
#include "ToString.h"
#include "enum_inband.h"

namespace {

struct Flagged {
    std::string Enabled;
};

}  // namespace

namespace nvx4 {
template <>
struct RecordTraits<Flagged> {
    static constexpr Field<Flagged> fields[] = {booleanTextField("Enabled", &Flagged::Enabled)};
};
}  // namespace nvx4

namespace {

// One row whose every value reads as 1.
class OneRowResultSet : public DBResultSet {
  public:
    bool next() override { return !done_ && (done_ = true); }
    std::string getString(const std::string&) override { return "1"; }
    int getString(const std::string&, char*, int) override { return 0; }
    double getDouble(const std::string&) override { return 1; }
    int getInt(const std::string&) override { return 1; }

  private:
    bool done_ = false;
};

TEST(ReadRecords, BooleansNeedTheWmiResultSet) {
    OneRowResultSet rows;
    EXPECT_CDBC_THROW(nvx4::readRecords<Flagged>(rows), 0x22000FFB, "type cast error");
}

// Six decimals, rounded, the sign kept on zero; from about 1e55 the text needs the usual 64-byte
// buffer and more: each is written in full.
TEST(ToString, HugeRealsAreWrittenInFullWithoutOverrun) {
    for (double value : {-0.5, 1e-7, -1e-7, 123456.7890125, 1e55, -1e55, 1e300, -1e300,
                         std::numeric_limits<double>::max()}) {
        char expected[512];
        std::snprintf(expected, sizeof expected, "%.6f", value);
        EXPECT_EQ(nvx4::toString(value), expected) << value;
    }
    EXPECT_EQ(nvx4::toString(-1e-7), "-0.000000");
    EXPECT_EQ(nvx4::toString(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_NE(nvx4::toString(std::nan("")).find("nan"), std::string::npos);
}

}  // namespace
