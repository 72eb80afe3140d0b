#include "ODBCStatement.h"

#include <gtest/gtest.h>

#include <sqlext.h>

#include "ExpectThrowCode.h"
#include "ODBCResultSet.h"
#include "ODBCTestSources.h"
#include "TestSupport.h"

namespace {

using nvx4::test::connect;
using nvx4::test::DataSource;
using nvx4::test::execute;
using nvx4::test::query;
using nvx4::test::ScopedTable;
using nvx4::test::statementOf;

class ODBCStatementTest : public ::testing::TestWithParam<DataSource> {};

NVX4_ODBC_SOURCES_SUITE(ODBCStatementTest);

TEST(ODBCStatement, NullHandlesAreRefused) {
    EXPECT_CDBC_THROW(ODBCStatement(SQL_NULL_HDBC), 0x22000FF6, "using null init ODBCStatement");
    EXPECT_CDBC_THROW(ODBCResultSet(ODBCStatementHandle{}), 0x22000FF6,
                      "using null init ODBCResultSet");
}

// A connection handle that was never connected cannot give statement handles: the constructor
// raises from the connection's diagnostics.
TEST(ODBCStatement, RaisesWhenTheConnectionHandleIsNotConnected) {
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC connection = SQL_NULL_HDBC;
    ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment)));
    SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3),
                  SQL_IS_UINTEGER);
    ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, environment, &connection)));
    try {
        ODBCStatement statement(connection);
        ADD_FAILURE() << "a statement on an unconnected handle";
    } catch (const CDBC_Exception& e) {
        EXPECT_NE(e.message.find("Connection not open"), std::string::npos) << e.message;
    }
    SQLFreeHandle(SQL_HANDLE_DBC, connection);
    SQLFreeHandle(SQL_HANDLE_ENV, environment);
}

TEST_P(ODBCStatementTest, UpdateReportsWhetherItTouchedRows) {
    auto connection = connect(GetParam().url);
    ScopedTable table(*connection, "n INTEGER");
    auto statement = statementOf(*connection);
    struct Case {
        std::string sql;
        int result;
    };
    const Case cases[] = {
        {"INSERT INTO " + table.name() + " VALUES (1)", SQL_SUCCESS},
        {"UPDATE " + table.name() + " SET n = 2 WHERE n = 1", SQL_SUCCESS},
        {"UPDATE " + table.name() + " SET n = 3 WHERE n = 99", SQL_NO_DATA},
        {"DELETE FROM " + table.name() + " WHERE n = 99", SQL_NO_DATA},
        // A text that returns rows does not keep the statement's handle busy for the next one.
        {"SELECT n FROM " + table.name(), SQL_SUCCESS},
        {"DELETE FROM " + table.name(), SQL_SUCCESS},
    };
    for (const Case& c : cases) EXPECT_EQ(statement->executeUpdate(c.sql), c.result) << c.sql;
}

// Both data sources number this failure 1 (SQLite's generic error code, the PostgreSQL driver's
// generic statement error); the message is the data source's own text.
TEST_P(ODBCStatementTest, FailingTextsRaiseWithTheDataSourcesDiagnostics) {
    auto connection = connect(GetParam().url);
    auto statement = statementOf(*connection);
    struct Case {
        const char* what;
        std::function<void()> run;
    };
    const Case cases[] = {
        {"query", [&] { statement->executeQuery("SELECT * FROM nvx4_missing"); }},
        {"update", [&] { statement->executeUpdate("DELETE FROM nvx4_missing"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            c.run();
            ADD_FAILURE() << "no exception";
        } catch (const CDBC_Exception& e) {
            EXPECT_EQ(e.code, 1);
            EXPECT_NE(e.message.find("nvx4_missing"), std::string::npos) << e.message;
        }
    }
}

// A query must come back with a plain SQL_SUCCESS: "no data" from a text that returns no rows
// fails, without any diagnostic record to name a reason.
TEST_P(ODBCStatementTest, QueryWithoutDataRaisesCodeZero) {
    auto connection = connect(GetParam().url);
    ScopedTable table(*connection, "n INTEGER");
    auto statement = statementOf(*connection);
    EXPECT_CDBC_THROW(statement->executeQuery("DELETE FROM " + table.name()), 0, "");
}

// PostgreSQL hands a server notice to the client as SQL_SUCCESS_WITH_INFO, native error -1.
TEST(ODBCStatement, QueryWithAWarningRaisesWhileItsRowsWouldBeThere) {
    auto connection = connect(nvx4::test::kPostgreSQL.url);
    execute(*connection, {"CREATE FUNCTION pg_temp.nvx4_noisy() RETURNS integer AS "
                          "$$ BEGIN RAISE NOTICE 'noisy'; RETURN 1; END $$ LANGUAGE plpgsql"});
    auto statement = statementOf(*connection);
    EXPECT_CDBC_THROW(statement->executeQuery("SELECT pg_temp.nvx4_noisy() AS n"), -1,
                      "NOTICE: noisy");
    EXPECT_CDBC_THROW(statement->executeUpdate("SELECT pg_temp.nvx4_noisy() AS n"), -1,
                      "NOTICE: noisy");
    auto rows = query(*statement, "SELECT 5 AS n");  // the statement is still usable
    ASSERT_TRUE(rows->next());
    EXPECT_EQ(rows->getInt("n"), 5);
}

TEST_P(ODBCStatementTest, ResultSetsOfOneStatementWalkIndependently) {
    auto connection = connect(GetParam().url);
    ScopedTable table(*connection, "n INTEGER");
    execute(*connection, {"INSERT INTO " + table.name() + " VALUES (1), (2), (3)"});
    auto statement = statementOf(*connection);
    const std::string sql = "SELECT n FROM " + table.name() + " ORDER BY n";
    auto first = query(*statement, sql);
    auto second = query(*statement, sql);
    ASSERT_TRUE(first->next());
    ASSERT_TRUE(first->next());
    ASSERT_TRUE(second->next());
    EXPECT_EQ(first->getInt("n"), 2);
    EXPECT_EQ(second->getInt("n"), 1);
    ASSERT_TRUE(first->next());
    EXPECT_FALSE(first->next());
    ASSERT_TRUE(second->next());
    EXPECT_EQ(second->getInt("n"), 2);
}

TEST(ODBCStatement, TracesEachTextAtLevelThree) {
    nvx4::test::TempPath trace("trace.log");
    nvx4::test::ScopedEnv file("KEV_TRACE_FILE", trace.path());
    nvx4::test::ScopedEnv level("KEV_TRACE_LEVEL", "3");
    auto connection = connect(nvx4::test::kSQLite.url);
    auto statement = statementOf(*connection);
    query(*statement, "SELECT 1 AS one");
    statement->executeUpdate("SELECT 2 AS two");
    const std::string log = trace.read();
    EXPECT_NE(log.find("statement is SELECT 1 AS one\n"), std::string::npos) << log;
    EXPECT_NE(log.find("statement is SELECT 2 AS two\n"), std::string::npos) << log;
}

}  // namespace
