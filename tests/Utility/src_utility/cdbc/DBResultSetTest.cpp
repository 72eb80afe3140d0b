#include "DBResultSet.h"

#include <gtest/gtest.h>

#include "ExpectThrowCode.h"

namespace {

// A result set whose columns are given by the test.
class FixedResultSet : public DBResultSet {
  public:
    bool next() override { return false; }
    std::string getString(const std::string&) override { return ""; }
    int getString(const std::string&, char*, int) override { return 0; }
    double getDouble(const std::string&) override { return 0; }
    int getInt(const std::string&) override { return 0; }
};

TEST(DBResultSet, HaveNextIsNotSupported) {
    FixedResultSet rs;
    EXPECT_CDBC_THROW(rs.haveNext(), 0x22000FFA, "no support function[DBResultSet::haveNext()]");
}

}  // namespace
