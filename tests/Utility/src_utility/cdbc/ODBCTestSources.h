// The data sources that odbc-sources.sh registers for the ODBC tests, and helpers to prepare
// tables in them.
#ifndef NVX4_ODBC_TEST_SOURCES_H
#define NVX4_ODBC_TEST_SOURCES_H

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <unistd.h>

#include "CDBC_Exception.h"
#include "DBConnection.h"
#include "DBDriver.h"
#include "DBResultSet.h"
#include "DBStatement.h"
#include "DBUrl.h"

namespace nvx4::test {

struct DataSource {
    const char* name;
    const char* url;
};

// SQLite ignores credentials, so its URL carries none: the connection passes empty strings.
inline const DataSource kSQLite{"SQLite", "odbc:nvx4_sqlite"};
// The same database, waiting only briefly for another connection's lock.
inline const DataSource kSQLiteNoWait{"SQLite", "odbc:nvx4_sqlite_nowait"};
inline const DataSource kPostgreSQL{"PostgreSQL", "odbc:nvx4_pg//user=nvx4,password=nvx4-secret"};

inline void PrintTo(const DataSource& source, std::ostream* out) { *out << source.name; }

inline std::string sourceName(const ::testing::TestParamInfo<DataSource>& info) {
    return info.param.name;
}

// A parameterised suite over both data sources, each instance named after its source.
#define NVX4_ODBC_SOURCES_SUITE(suite)                                                           \
    class suite : public ::testing::TestWithParam<nvx4::test::DataSource> {                      \
      protected:                                                                                 \
        bool onSQLite() const { return GetParam().url == std::string(nvx4::test::kSQLite.url); } \
    };                                                                                           \
    INSTANTIATE_TEST_SUITE_P(Sources, suite,                                                     \
                             ::testing::Values(nvx4::test::kSQLite, nvx4::test::kPostgreSQL),    \
                             nvx4::test::sourceName)

inline std::unique_ptr<DBConnection> connect(const std::string& url) {
    return std::unique_ptr<DBConnection>(DBDriver::getConnection(DBUrl(url)));
}

inline std::unique_ptr<DBStatement> statementOf(DBConnection& connection) {
    return std::unique_ptr<DBStatement>(connection.createStatement());
}

inline std::unique_ptr<DBResultSet> query(DBStatement& statement, const std::string& sql) {
    return std::unique_ptr<DBResultSet>(statement.executeQuery(sql));
}

inline void execute(DBConnection& connection, std::initializer_list<std::string> sqls) {
    auto statement = statementOf(connection);
    for (const std::string& sql : sqls) statement->executeUpdate(sql);
}

// A column of the first row, read as an integer.
inline int queryInt(DBConnection& connection, const std::string& sql, const std::string& column) {
    auto statement = statementOf(connection);
    auto rows = query(*statement, sql);
    EXPECT_TRUE(rows->next()) << sql;
    return rows->getInt(column);
}

// A table of the running test process's own, so that tests running side by side on one data
// source never meet. Short names: PostgreSQL truncates identifiers longer than 63 characters.
class ScopedTable {
  public:
    ScopedTable(DBConnection& connection, const std::string& columns)
        : connection_(connection), name_(uniqueName()) {
        drop();
        execute(connection_, {"CREATE TABLE " + name_ + " (" + columns + ")"});
    }
    ~ScopedTable() { drop(); }
    ScopedTable(const ScopedTable&) = delete;
    ScopedTable& operator=(const ScopedTable&) = delete;

    const std::string& name() const { return name_; }

  private:
    static std::string uniqueName() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string full = std::string(test->test_suite_name()) + "." + test->name();
        return "t" + std::to_string(std::hash<std::string>{}(full) % 1000000000000ULL) + "_" +
               std::to_string(getpid());
    }
    // Dropping a table that is not there is an error on both sources; it is meant to be ignored.
    void drop() {
        try {
            execute(connection_, {"DROP TABLE " + name_});
        } catch (const CDBC_Exception&) {
        }
    }

    DBConnection& connection_;
    std::string name_;
};

}  // namespace nvx4::test

#endif
