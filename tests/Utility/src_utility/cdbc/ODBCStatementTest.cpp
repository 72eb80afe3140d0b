#include "ODBCStatement.h"

#include <gtest/gtest.h>

#include "ExpectThrowCode.h"
#include "ODBCResultSet.h"
#include "ODBCTestSources.h"

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
        {"UPDATE " + table.name() + " SET n = 3 WHERE n = 99", SQL_NO_DATA},
        // A text that returns rows does not keep the statement's handle busy for the next one.
        {"SELECT n FROM " + table.name(), SQL_SUCCESS},
        {"DELETE FROM " + table.name(), SQL_SUCCESS},
    };
    for (const auto& [sql, result] : cases) EXPECT_EQ(statement->executeUpdate(sql), result) << sql;
}

}  // namespace
}  // namespace nvx4::test
