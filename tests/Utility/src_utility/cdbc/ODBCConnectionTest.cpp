#include "ODBCConnection.h"

#include <gtest/gtest.h>

#include "ODBCTestSources.h"

namespace nvx4::test {
namespace {

NVX4_ODBC_SOURCES_SUITE(ODBCConnectionTest);

// A connection opens through driver selection with auto-commit on. Each ending of a transaction
// made with auto-commit off, seen from a second connection; and
// auto-commit switched back on, which publishes each statement at once.
TEST_P(ODBCConnectionTest, TransactionEndingsAsSeenFromASecondConnection) {
    enum class Ending { Commit, Rollback, DeleteConnection, AutoCommitBackOn };
    struct Case {
        const char* what;
        Ending ending;
        int rowsSeenBefore;  // the ending
        int rowsSeenAfter;
    };
    const Case cases[] = {
        {"commit", Ending::Commit, 0, 1},
        {"rollback", Ending::Rollback, 0, 0},
        {"deleting the connection commits", Ending::DeleteConnection, 0, 1},
        {"auto-commit back on before the insert", Ending::AutoCommitBackOn, 1, 1},
    };
    auto observer = connect(GetParam().url);
    ScopedTable table(*observer, "n INTEGER");
    const std::string count = "SELECT CAST(COUNT(*) AS INTEGER) AS n FROM " + table.name();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        execute(*observer, {"DELETE FROM " + table.name()});
        auto writer = connect(GetParam().url);
        ASSERT_NE(dynamic_cast<ODBCConnection*>(writer.get()), nullptr);
        EXPECT_TRUE(writer->getAutoCommit());
        writer->setAutoCommit(false);
        EXPECT_FALSE(writer->getAutoCommit());
        if (c.ending == Ending::AutoCommitBackOn) {
            writer->setAutoCommit(true);
            EXPECT_TRUE(writer->getAutoCommit());
        }
        execute(*writer, {"INSERT INTO " + table.name() + " VALUES (1)"});
        EXPECT_EQ(queryInt(*observer, count, "n"), c.rowsSeenBefore) << "before the ending";
        if (c.ending == Ending::Commit) writer->commit();
        if (c.ending == Ending::Rollback) writer->rollback();
        if (c.ending == Ending::DeleteConnection) writer.reset();
        EXPECT_EQ(queryInt(*observer, count, "n"), c.rowsSeenAfter);
    }
}

}  // namespace
}  // namespace nvx4::test
