// What the row loop does beyond the conversions that the all-classes test checks through the
// library: booleans from a result set of another driver.
#include <gtest/gtest.h>

#include "ExpectThrowCode.h"
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

}  // namespace
