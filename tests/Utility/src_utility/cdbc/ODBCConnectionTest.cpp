#include "ODBCConnection.h"

#include <gtest/gtest.h>

#include "ODBCTestSources.h"

namespace {

using nvx4::test::connect;
using nvx4::test::DataSource;
using nvx4::test::execute;
using nvx4::test::queryInt;
using nvx4::test::ScopedTable;

class ODBCConnectionTest : public ::testing::TestWithParam<DataSource> {};

NVX4_ODBC_SOURCES_SUITE(ODBCConnectionTest);

TEST_P(ODBCConnectionTest, OpensThroughDriverSelectionWithAutoCommitOn) {
    auto connection = connect(GetParam().url);
    ASSERT_NE(dynamic_cast<ODBCConnection*>(connection.get()), nullptr);
    EXPECT_TRUE(connection->getAutoCommit());
    EXPECT_EQ(queryInt(*connection, "SELECT 41 + 1 AS answer", "answer"), 42);
}

TEST(ODBCConnection, FailuresCarryTheDataSourcesNativeErrorAndMessage) {
    struct Case {
        const char* what;
        const char* url;
        int code;
        const char* messagePart;
    };
    const Case cases[] = {
        // The driver manager itself answers for a name it does not know, with native error 0.
        {"unknown data source", "odbc:nvx4_nowhere", 0, "Data source name not found"},
        {"wrong password", "odbc:nvx4_pg//user=nvx4,password=wrong", 101,
         "password authentication failed for user \"nvx4\""},
        {"stopped server", "odbc:nvx4_pg_stopped//user=nvx4,password=nvx4-secret", 101,
         "Connection refused"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            connect(c.url);
            ADD_FAILURE() << "connected";
        } catch (const CDBC_Exception& e) {
            EXPECT_EQ(e.code, c.code);
            EXPECT_NE(e.message.find(c.messagePart), std::string::npos) << e.message;
        }
    }
}

// Each ending of a transaction made with auto-commit off, seen from a second connection.
TEST_P(ODBCConnectionTest, TransactionEndingsAsSeenFromASecondConnection) {
    enum class Ending { Commit, Rollback, DeleteConnection };
    struct Case {
        const char* what;
        Ending ending;
        int rowsSeenAfter;
    };
    const Case cases[] = {
        {"commit", Ending::Commit, 1},
        {"rollback", Ending::Rollback, 0},
        {"deleting the connection commits", Ending::DeleteConnection, 1},
    };
    auto observer = connect(GetParam().url);
    ScopedTable table(*observer, "n INTEGER");
    const std::string count = "SELECT CAST(COUNT(*) AS INTEGER) AS n FROM " + table.name();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        execute(*observer, {"DELETE FROM " + table.name()});
        auto writer = connect(GetParam().url);
        writer->setAutoCommit(false);
        EXPECT_FALSE(writer->getAutoCommit());
        execute(*writer, {"INSERT INTO " + table.name() + " VALUES (1)"});
        EXPECT_EQ(queryInt(*observer, count, "n"), 0) << "visible before its transaction ended";
        switch (c.ending) {
            case Ending::Commit:
                writer->commit();
                break;
            case Ending::Rollback:
                writer->rollback();
                break;
            case Ending::DeleteConnection:
                writer.reset();
                break;
        }
        EXPECT_EQ(queryInt(*observer, count, "n"), c.rowsSeenAfter);
    }
}

TEST_P(ODBCConnectionTest, AutoCommitBackOnPublishesEachStatement) {
    auto observer = connect(GetParam().url);
    ScopedTable table(*observer, "n INTEGER");
    auto writer = connect(GetParam().url);
    writer->setAutoCommit(false);
    writer->setAutoCommit(true);
    EXPECT_TRUE(writer->getAutoCommit());
    execute(*writer, {"INSERT INTO " + table.name() + " VALUES (1)"});
    EXPECT_EQ(
        queryInt(*observer, "SELECT CAST(COUNT(*) AS INTEGER) AS n FROM " + table.name(), "n"), 1);
}

}  // namespace
