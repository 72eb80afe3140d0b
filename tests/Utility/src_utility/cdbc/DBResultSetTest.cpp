#include "DBResultSet.h"

#include <gtest/gtest.h>

#include "DBInteger.h"
#include "ExpectThrowCode.h"

namespace {

// Counts its destructions, so the result set's ownership can be observed.
class CountedValue : public DBInteger {
  public:
    explicit CountedValue(int* destroyed) : destroyed_(destroyed) {}
    ~CountedValue() override { ++*destroyed_; }

  private:
    int* destroyed_;
};

// A result set whose columns are given by the test.
class FixedResultSet : public DBResultSet {
  public:
    void add(const std::string& name, DBType* value) { fields[name] = value; }
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

TEST(DBResultSet, DestructorDeletesOwnedValuesAndSkipsNullOnes) {
    int destroyed = 0;
    {
        auto* rs = new FixedResultSet;
        rs->add("a", new CountedValue(&destroyed));
        rs->add("b", nullptr);
        rs->add("c", new CountedValue(&destroyed));
        delete static_cast<DBResultSet*>(rs);
    }
    EXPECT_EQ(destroyed, 2);
}

}  // namespace
