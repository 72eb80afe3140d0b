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

std::unique_ptr<DBString> text(int capacity, const char* value) {
    auto string = std::make_unique<DBString>(capacity);
    std::strcpy(string->buffer(), value);
    string->indicator = static_cast<int>(std::strlen(value));
    return string;
}

// A text is never read as a number, not even one that holds digits.
TEST(DBType, EachKindRefusesWhatDoesNotSuitIt) {
    struct Case {
        std::function<std::unique_ptr<DBType>()> make;
        std::vector<Refusal> refused;
    };
    const Case cases[] = {
        {[] { return std::make_unique<DBType>(); }, {kGetString, kGetBuffer, kGetInt, kGetDouble}},
        {[] { return std::make_unique<DBInteger>(7); }, {kGetString, kGetBuffer, kGetDouble}},
        {[] { return std::make_unique<DBDouble>(); }, {kGetString, kGetBuffer}},
        {[] { return text(4, "42"); }, {kGetInt, kGetDouble}},
    };
    for (const Case& c : cases) {
        for (const Refusal& r : c.refused) {
            auto value = c.make();
            SCOPED_TRACE(r.what);
            EXPECT_CDBC_THROW(r.call(*value), kTypeError, "type cast error");
        }
    }
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

// "hello" in a column of capacity 11, read whole and into a buffer of 'x' of each size: exactly
// `size` characters are written (the text truncated without a terminator, or padded with NULs),
// and a NULL writes one NUL.
TEST(DBString, ReadsTextWholeAndIntoBuffersOfEachSize) {
    struct Case {
        bool null;
        int size;
        int returned;
        std::string written;  // the first 21 characters of the buffer afterwards
    };
    const std::string rest(21, 'x');
    const Case cases[] = {
        {false, 3, 3, "hel" + rest.substr(3)},
        {false, 20, 11, "hello" + std::string(15, '\0') + "x"},
        {false, 0, 0, rest},
        {true, 4, 0, '\0' + rest.substr(1)},
        {true, 0, 0, rest},
    };
    for (const Case& c : cases) {
        auto hello = text(11, "hello");
        EXPECT_EQ(hello->capacity(), 11);
        if (c.null) hello->indicator = -1;
        EXPECT_EQ(hello->getString(), c.null ? "" : "hello");
        char buffer[21];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(hello->getString(buffer, c.size), c.returned) << c.size;
        EXPECT_EQ(std::string(buffer, sizeof buffer), c.written) << c.size;
    }
}

}  // namespace
