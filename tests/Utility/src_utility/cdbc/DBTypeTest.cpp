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

std::unique_ptr<DBString> text(int capacity, const char* value) {
    auto string = std::make_unique<DBString>(capacity);
    std::strcpy(string->buffer(), value);
    string->indicator = static_cast<int>(std::strlen(value));
    return string;
}

char buffer[8];

// The refusals that reading a column of the other kind through the ODBC result set does not
// show: a text is never read as a double, not even one that holds digits.
TEST(DBType, EachKindRefusesWhatDoesNotSuitIt) {
    const std::function<void()> refused[] = {
        [] { DBType().getString(); },
        [] { DBType().getString(buffer, sizeof buffer); },
        [] { DBType().getInt(); },
        [] { DBType().getDouble(); },
        [] { DBInteger(7).getString(buffer, sizeof buffer); },
        [] { DBInteger(7).getDouble(); },
        [] { DBDouble().getString(buffer, sizeof buffer); },
        [] { text(4, "42")->getDouble(); },
    };
    for (size_t i = 0; i < std::size(refused); ++i) {
        SCOPED_TRACE(i);
        EXPECT_CDBC_THROW(refused[i](), kTypeError, "type cast error");
    }
}

TEST(DBDouble, TruncatesTowardZeroAndSaturates) {
    DBDouble value;
    EXPECT_EQ(value.getDouble(), 0.0);
    const std::pair<double, int> cases[] = {
        {2.9, 2}, {-2.9, -2}, {2147483647.5, INT_MAX}, {-2147483648.0, INT_MIN}, {NAN, 0}};
    for (const auto& [stored, expected] : cases) {
        *value.buffer() = stored;
        EXPECT_EQ(value.getInt(), expected) << stored;
    }
}

// "hello" in a column of capacity 11, read whole and into a buffer of 'x' of each size: exactly
// `size` characters are written (the text truncated without a terminator; the padding with NULs
// shows through the ODBC result set), and a NULL writes one NUL.
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
