#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>

#include "DBDouble.h"
#include "DBInteger.h"
#include "DBString.h"
#include "ExpectThrowCode.h"

namespace {

constexpr int kTypeError = 0x22000FFB;

struct Refusal {
    const char* what;
    std::function<void(DBType&)> call;
};

const Refusal kGetString{"getString()", [](DBType& v) { v.getString(); }};
const Refusal kGetBuffer{"getString(buffer)", [](DBType& v) {
                             char buffer[8];
                             v.getString(buffer, sizeof buffer);
                         }};
const Refusal kGetInt{"getInt", [](DBType& v) { v.getInt(); }};
const Refusal kGetDouble{"getDouble", [](DBType& v) { v.getDouble(); }};

TEST(DBType, EachKindRefusesWhatDoesNotSuitIt) {
    struct Case {
        std::function<std::unique_ptr<DBType>()> make;
        std::vector<Refusal> refused;
    };
    const Case cases[] = {
        {[] { return std::make_unique<DBType>(); }, {kGetString, kGetBuffer, kGetInt, kGetDouble}},
        {[] { return std::make_unique<DBInteger>(7); }, {kGetString, kGetBuffer, kGetDouble}},
        {[] { return std::make_unique<DBDouble>(); }, {kGetString, kGetBuffer}},
        {[] { return std::make_unique<DBString>(11); }, {kGetInt, kGetDouble}},
    };
    for (const Case& c : cases) {
        for (const Refusal& r : c.refused) {
            auto value = c.make();
            SCOPED_TRACE(r.what);
            EXPECT_CDBC_THROW(r.call(*value), kTypeError, "type cast error");
        }
    }
}

TEST(DBInteger, ReadsItsValueAndZeroWhenNull) {
    DBInteger value(41);
    EXPECT_EQ(value.getInt(), 41);
    *value.buffer() = -7;
    EXPECT_EQ(value.getInt(), -7);
    value.indicator = -1;
    EXPECT_EQ(value.getInt(), 0);
    value.indicator = 4;
    EXPECT_EQ(value.getInt(), 0);  // the NULL read stored 0
}

TEST(DBDouble, TruncatesTowardZeroAndSaturates) {
    DBDouble value;
    EXPECT_EQ(value.getDouble(), 0.0);
    const std::pair<double, int> cases[] = {{2.9, 2},
                                            {-2.9, -2},
                                            {0.0, 0},
                                            {1e300, INT_MAX},
                                            {-1e300, INT_MIN},
                                            {2147483647.5, INT_MAX},
                                            {-2147483648.0, INT_MIN},
                                            {NAN, 0}};
    for (const auto& [stored, expected] : cases) {
        *value.buffer() = stored;
        EXPECT_EQ(value.getInt(), expected) << stored;
    }
}

// A NULL fetch leaves the previous row's value in the buffer; it must not show through.
TEST(DBDouble, ReadsZeroWhenNullWhateverTheBufferHolds) {
    DBDouble value;
    *value.buffer() = 3.5;
    value.indicator = -1;
    EXPECT_EQ(value.getDouble(), 0.0);
    EXPECT_EQ(value.getInt(), 0);
    value.indicator = 8;
    EXPECT_EQ(value.getDouble(), 3.5);
}

class DBStringTest : public ::testing::Test {
  protected:
    DBStringTest() : text(11) {
        std::strcpy(text.buffer(), "hello");
        text.indicator = 5;
    }
    DBString text;
};

TEST_F(DBStringTest, ReadsTextUpToItsTerminator) {
    EXPECT_EQ(text.capacity(), 11);
    EXPECT_EQ(text.getString(), "hello");
    text.indicator = -1;
    EXPECT_EQ(text.getString(), "");
}

TEST_F(DBStringTest, BufferFormTruncatesWithoutTerminator) {
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(text.getString(buffer, 3), 3);
    EXPECT_EQ(std::string(buffer, 4), "helx");
}

TEST_F(DBStringTest, BufferFormPadsWithNulsAndReturnsTheCapacity) {
    char buffer[21];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(text.getString(buffer, 20), 11);
    EXPECT_EQ(std::string(buffer, 20), std::string("hello") + std::string(15, '\0'));
    EXPECT_EQ(buffer[20], 'x');  // exactly `size` characters written
}

TEST_F(DBStringTest, BufferFormOfNullWritesOneNul) {
    char buffer[4] = {'x', 'x', 'x', 'x'};
    text.indicator = -1;
    EXPECT_EQ(text.getString(buffer, 4), 0);
    EXPECT_EQ(std::string(buffer, 4), std::string("\0xxx", 4));
}

TEST_F(DBStringTest, EmptyBufferIsNeverWritten) {
    char guard = 'x';
    EXPECT_EQ(text.getString(&guard, 0), 0);
    text.indicator = -1;
    EXPECT_EQ(text.getString(&guard, 0), 0);
    EXPECT_EQ(guard, 'x');
}

TEST(DBString, NumberTextIsStillRefusedAsInteger) {
    DBString number(4);
    std::strcpy(number.buffer(), "42");
    EXPECT_CDBC_THROW(number.getInt(), 0x22000FFB, "type cast error");
}

}  // namespace
