#include "ODBCResultSet.h"

#include <gtest/gtest.h>

#include <vector>

#include "ExpectThrowCode.h"
#include "ODBCTestSources.h"

namespace nvx4::test {
namespace {

constexpr int kTypeError = 0x22000FFB;
constexpr int kFieldNotFound = 0x22000FF9;

struct TypeCase {
    const char* source;  // the data source's name, or nullptr for both
    const char* declaration;
    const char* literal;
    enum Outcome { Integer, Double, Text, Refused, Skipped } outcome;
    const char* expected;  // the value read, or the refusal message
};

// The column types and what becomes of them, per data source (nullptr: both alike). SQLite's
// driver reports types from the declared column type (REAL as SQL_DOUBLE); PostgreSQL's has its
// own mapping: DOUBLE PRECISION and NUMERIC (SQL_FLOAT, SQL_NUMERIC) cannot be read through this
// result set at all (REAL, SQL_REAL, is refused in the release suite), and booleans are text.
const TypeCase kTypes[] = {
    {nullptr, "INTEGER", "-42", TypeCase::Integer, "-42"},
    {nullptr, "SMALLINT", "7", TypeCase::Integer, "7"},
    {nullptr, "BIGINT", "5000000000", TypeCase::Skipped, nullptr},
    {kSQLite.name, "REAL", "-1.25", TypeCase::Double, "-1.25"},
    {kSQLite.name, "VARCHAR(255)", "'cd'", TypeCase::Text, "cd"},
    {kPostgreSQL.name, "DOUBLE PRECISION", "2.5", TypeCase::Refused, "unsupport type[SQL_FLOAT]"},
    {kPostgreSQL.name, "NUMERIC(10,2)", "4.5", TypeCase::Refused, "unsupport type[SQL_NUMERIC]"},
    {kPostgreSQL.name, "CHAR(5)", "'ab'", TypeCase::Text, "ab   "},
    {kPostgreSQL.name, "BOOLEAN", "TRUE", TypeCase::Text, "1"},
};

NVX4_ODBC_SOURCES_SUITE(ODBCResultSetTest);

// One table of every case's type with a row of values and a row of NULLs; each column read alone.
TEST_P(ODBCResultSetTest, ReadsEachColumnTypeAsItsSourceReportsIt) {
    std::vector<TypeCase> cases;
    for (const TypeCase& c : kTypes)
        if (c.source == nullptr || c.source == std::string(GetParam().name)) cases.push_back(c);
    auto connection = connect(GetParam().url);
    std::string columns = "k INTEGER", literals = "1";
    for (size_t i = 0; i < cases.size(); ++i) {
        columns += ", c" + std::to_string(i) + " " + cases[i].declaration;
        literals += std::string(", ") + cases[i].literal;
    }
    ScopedTable table(*connection, columns);
    execute(*connection, {"INSERT INTO " + table.name() + " VALUES (" + literals + ")",
                          "INSERT INTO " + table.name() + " (k) VALUES (2)"});
    auto statement = statementOf(*connection);
    for (size_t i = 0; i < cases.size(); ++i) {
        const TypeCase& c = cases[i];
        const std::string column = "c" + std::to_string(i);
        const std::string sql = "SELECT " + column + " FROM " + table.name() + " ORDER BY k";
        SCOPED_TRACE(c.declaration);
        if (c.outcome == TypeCase::Refused) {
            EXPECT_CDBC_THROW(statement->executeQuery(sql), kTypeError, c.expected);
            continue;
        }
        auto rows = query(*statement, sql);
        ASSERT_TRUE(rows->next());
        if (c.outcome == TypeCase::Skipped) {
            EXPECT_CDBC_THROW(rows->getString(column), kFieldNotFound,
                              "field not found[" + column + "]");
            EXPECT_TRUE(rows->getFieldNames().empty());
            continue;
        }
        // A number refuses to be read as text and a text as a number; NULL reads as 0 or "".
        const bool text = c.outcome == TypeCase::Text;
        if (text) {
            EXPECT_EQ(rows->getString(column), c.expected);
            EXPECT_CDBC_THROW(rows->getInt(column), kTypeError, "type cast error");
        } else {
            EXPECT_DOUBLE_EQ(
                c.outcome == TypeCase::Integer ? rows->getInt(column) : rows->getDouble(column),
                std::stod(c.expected));
            EXPECT_CDBC_THROW(rows->getString(column), kTypeError, "type cast error");
        }
        ASSERT_TRUE(rows->next());
        if (text) {
            EXPECT_EQ(rows->getString(column), "") << "NULL";
        } else {
            EXPECT_EQ(rows->getInt(column), 0) << "NULL";
        }
        if (c.outcome == TypeCase::Double) {
            EXPECT_EQ(rows->getDouble(column), 0.0) << "NULL";
        }
    }
}

// Names are matched exactly as the data source reports them: PostgreSQL folds unquoted names to
// lower case, SQLite keeps them as written. Of two columns of one name the later wins; the
// earlier stays bound and is written by every fetch, so it has to live as long as the result
// set. Field names come in byte order and leave out skipped columns.
TEST_P(ODBCResultSetTest, ColumnsAreFoundByTheirReportedNameOnly) {
    auto connection = connect(GetParam().url);
    ScopedTable table(*connection, "a INTEGER, b VARCHAR(10), t TEXT");
    execute(*connection,
            {"INSERT INTO " + table.name() + " VALUES (1, 'one', ''), (2, 'two', '')"});
    auto statement = statementOf(*connection);
    auto rows = query(*statement,
                      "SELECT b AS x, a AS x, a AS Mixed, a AS \"Quoted\", t AS \"c\", "
                      "a AS \"B\" FROM " +
                          table.name() + " ORDER BY a");
    const std::string reported = onSQLite() ? "Mixed" : "mixed";
    const std::string other = onSQLite() ? "mixed" : "Mixed";
    EXPECT_EQ(rows->getFieldNames(),
              (std::vector<std::string>{"B", onSQLite() ? "Mixed" : "Quoted",
                                        onSQLite() ? "Quoted" : "mixed", "x"}));
    for (int expected : {1, 2}) {
        ASSERT_TRUE(rows->next());
        EXPECT_EQ(rows->getInt("x"), expected);
        EXPECT_CDBC_THROW(rows->getString("x"), kTypeError, "type cast error");
        EXPECT_EQ(rows->getInt(reported), expected);
        EXPECT_EQ(rows->getInt("Quoted"), expected);
    }
    EXPECT_FALSE(rows->next());
    EXPECT_CDBC_THROW(rows->getInt(other), kFieldNotFound, "field not found[" + other + "]");
    EXPECT_CDBC_THROW(rows->getInt("quoted"), kFieldNotFound, "field not found[quoted]");
}

// SQLite keeps text longer than a column's declared size; the bound buffer of size + 1 then
// receives the first `size` characters, and the fetch still counts as a row.
TEST(ODBCResultSet, TextLongerThanTheColumnArrivesTruncated) {
    auto connection = connect(kSQLite.url);
    ScopedTable table(*connection, "v VARCHAR(5)");
    execute(*connection, {"INSERT INTO " + table.name() + " VALUES ('abcdefgh')"});
    auto statement = statementOf(*connection);
    auto rows = query(*statement, "SELECT v FROM " + table.name());
    ASSERT_TRUE(rows->next());
    EXPECT_EQ(rows->getString("v"), "abcde");
    char buffer[9];
    EXPECT_EQ(rows->getString("v", buffer, sizeof buffer), 6);  // the capacity, not the length
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string("abcde\0\0\0\0", 9));
}

// A text without result columns still opens a result set, with nothing bound. No result set
// can say whether a next row exists.
TEST(ODBCResultSet, TextWithoutColumnsHasNoFields) {
    auto connection = connect(kSQLite.url);
    ScopedTable table(*connection, "n INTEGER");
    auto statement = statementOf(*connection);
    auto rows = query(*statement, "INSERT INTO " + table.name() + " VALUES (1)");
    EXPECT_TRUE(rows->getFieldNames().empty());
    EXPECT_CDBC_THROW(rows->getInt("n"), kFieldNotFound, "field not found[n]");
    EXPECT_CDBC_THROW(rows->haveNext(), 0x22000FFA, "no support function[DBResultSet::haveNext()]");
}

}  // namespace
}  // namespace nvx4::test
