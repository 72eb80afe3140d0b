#include "ODBCStatement.h"

#include <gtest/gtest.h>

#include "ExpectThrowCode.h"
#include "ODBCResultSet.h"
#include "ODBCTestSources.h"
#include "TestSupport.h"

namespace nvx4::test {
namespace {

NVX4_ODBC_SOURCES_SUITE(ODBCStatementTest);

TEST(ODBCStatement, NullHandlesAreRefused) {
    EXPECT_CDBC_THROW(ODBCStatement(SQL_NULL_HDBC), 0x22000FF6, "using null init ODBCStatement");
    EXPECT_CDBC_THROW(ODBCResultSet(ODBCStatementHandle{}), 0x22000FF6,
                      "using null init ODBCResultSet");
}

TEST_P(ODBCStatementTest, UpdateReportsWhetherItTouchedRows) {
    auto connection = connect(GetParam().url);
    ScopedTable table(*connection, "n INTEGER");
    auto statement = statementOf(*connection);
    const std::pair<std::string, int> cases[] = {
        {"INSERT INTO " + table.name() + " VALUES (1)", SQL_SUCCESS},
        {"UPDATE " + table.name() + " SET n = 2 WHERE n = 1", SQL_SUCCESS},
        {"UPDATE " + table.name() + " SET n = 3 WHERE n = 99", SQL_NO_DATA},
        {"DELETE FROM " + table.name() + " WHERE n = 99", SQL_NO_DATA},
        // A text that returns rows does not keep the statement's handle busy for the next one.
        {"SELECT n FROM " + table.name(), SQL_SUCCESS},
        {"DELETE FROM " + table.name(), SQL_SUCCESS},
    };
    for (const auto& [sql, result] : cases) EXPECT_EQ(statement->executeUpdate(sql), result) << sql;
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
    TempPath trace("trace.log");
    ScopedEnv file("KEV_TRACE_FILE", trace.path());
    ScopedEnv level("KEV_TRACE_LEVEL", "3");
    auto connection = connect(kSQLite.url);
    auto statement = statementOf(*connection);
    query(*statement, "SELECT 1 AS one");
    statement->executeUpdate("SELECT 2 AS two");
    const std::string log = trace.read();
    EXPECT_NE(log.find("statement is SELECT 1 AS one\n"), std::string::npos) << log;
    EXPECT_NE(log.find("statement is SELECT 2 AS two\n"), std::string::npos) << log;
}

}  // namespace
}  // namespace nvx4::test
