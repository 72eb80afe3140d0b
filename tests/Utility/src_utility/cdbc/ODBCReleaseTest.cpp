// Every ODBC handle the driver allocates is released again, on success and on each failure path.
// The handle ledger sees the driver's own SQLAllocHandle and SQLFreeHandle calls; the value
// objects of a failed result set are watched by the leak sanitizer.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <tuple>

#include <sqlext.h>

#include "ODBCHandleLedger.h"
#include "ODBCStatement.h"
#include "ODBCTestSources.h"

namespace nvx4::test {
namespace {

std::array<int, 3> handles() {
    return {liveHandles(SQL_HANDLE_ENV), liveHandles(SQL_HANDLE_DBC), liveHandles(SQL_HANDLE_STMT)};
}

// Each failure raises with the data source's native error and text (or the driver's own code and
// message), releases what it allocated, and leaves the statement it ran on usable.
TEST(ODBCRelease, FailingConstructionAndQueriesLeaveNoHandleBehind) {
    auto sqlite = connect(kSQLite.url);
    auto postgres = connect(kPostgreSQL.url);
    execute(*postgres, {"CREATE FUNCTION pg_temp.nvx4_noisy() RETURNS integer AS "
                        "$$ BEGIN RAISE NOTICE 'noisy'; RETURN 1; END $$ LANGUAGE plpgsql"});
    ScopedTable empty(*sqlite, "n INTEGER");
    auto onSQLite = statementOf(*sqlite);
    auto onPostgres = statementOf(*postgres);
    // A connection handle of the driver manager's own that is not connected.
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC unconnected = SQL_NULL_HDBC;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment);
    SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3),
                  SQL_IS_UINTEGER);
    SQLAllocHandle(SQL_HANDLE_DBC, environment, &unconnected);
    // What fails, how, its code and message, and whether that is all of it (else a part).
    const std::tuple<const char*, std::function<void()>, int, std::string, bool> cases[] = {
        // The driver manager itself answers for a name it does not know, with native error 0.
        {"unknown data source", [] { connect("odbc:nvx4_nowhere"); }, 0,
         "Data source name not found", false},
        {"wrong password", [] { connect("odbc:nvx4_pg//user=nvx4,password=wrong"); }, 101,
         "password authentication failed for user \"nvx4\"", false},
        {"statement on an unconnected handle", [&] { ODBCStatement{unconnected}; }, 0,
         "Connection not open", false},
        // SQLite numbers a failing text 1, its generic error code.
        {"SQLite query error", [&] { onSQLite->executeQuery("SELECT * FROM nvx4_missing"); }, 1,
         "nvx4_missing", false},
        // A query must come back with a plain SQL_SUCCESS: "no data" from a text that returns
        // no rows fails without any diagnostic record to name a reason...
        {"query without data", [&] { onSQLite->executeQuery("DELETE FROM " + empty.name()); }, 0,
         "", true},
        // ...and a server notice, SQL_SUCCESS_WITH_INFO with native error -1, fails it too.
        {"query warning", [&] { onPostgres->executeQuery("SELECT pg_temp.nvx4_noisy() AS n"); }, -1,
         "NOTICE: noisy", true},
        {"update warning", [&] { onPostgres->executeUpdate("SELECT pg_temp.nvx4_noisy() AS n"); },
         -1, "NOTICE: noisy", true},
        // Two columns are bound before the third is refused.
        {"refused column",
         [&] { onPostgres->executeQuery("SELECT 1 AS a, 'x'::varchar(3) AS b, 1.5::real AS c"); },
         0x22000FFB, "unsupport type[SQL_REAL]", true},
    };
    for (const auto& [what, fail, code, message, exact] : cases) {
        SCOPED_TRACE(what);
        const auto before = handles();
        try {
            fail();
            ADD_FAILURE() << "no exception";
        } catch (const CDBC_Exception& e) {
            EXPECT_EQ(e.code, code);
            EXPECT_NE(e.file, nullptr);
            EXPECT_GT(e.line, 0);
            EXPECT_TRUE(exact ? e.message == message : e.message.find(message) != std::string::npos)
                << e.message;
        }
        EXPECT_EQ(handles(), before);
    }
    SQLFreeHandle(SQL_HANDLE_DBC, unconnected);
    SQLFreeHandle(SQL_HANDLE_ENV, environment);
    for (auto* statement : {onSQLite.get(), onPostgres.get()}) {
        auto rows = query(*statement, "SELECT 5 AS n");
        ASSERT_TRUE(rows->next());
        EXPECT_EQ(rows->getInt("n"), 5);
    }
}

// Each result set has a handle of its own, so that result sets of one statement walk apart.
TEST(ODBCRelease, DeletingTheObjectsReleasesEveryHandle) {
    const auto before = handles();
    {
        auto connection = connect(kSQLite.url);
        ScopedTable table(*connection, "n INTEGER");
        execute(*connection, {"INSERT INTO " + table.name() + " VALUES (1), (2), (3)"});
        auto statement = statementOf(*connection);
        const std::string sql = "SELECT n FROM " + table.name() + " ORDER BY n";
        auto first = query(*statement, sql);
        auto second = query(*statement, sql);
        EXPECT_EQ(liveHandles(SQL_HANDLE_STMT) - before[2], 3);
        ASSERT_TRUE(first->next());
        ASSERT_TRUE(first->next());
        ASSERT_TRUE(second->next());
        EXPECT_EQ(first->getInt("n"), 2);
        EXPECT_EQ(second->getInt("n"), 1);
    }
    EXPECT_EQ(handles(), before);
}

// Once the server has dropped a connection, its commit fails: explicitly it raises, and in the
// destructor (auto-commit off) it is dropped while the handles are still released.
TEST(ODBCRelease, ConnectionLostByTheServerIsStillReleased) {
    auto observer = connect(kPostgreSQL.url);
    const auto before = handles();
    auto writer = connect(kPostgreSQL.url);
    writer->setAutoCommit(false);
    const int pid = queryInt(*writer, "SELECT pg_backend_pid() AS pid", "pid");
    execute(*observer, {"SELECT pg_terminate_backend(" + std::to_string(pid) + ")"});
    EXPECT_THROW(writer->commit(), CDBC_Exception);
    EXPECT_NO_THROW(writer.reset());
    EXPECT_EQ(handles(), before);
}

// A final commit refused because another connection holds a read lock ("database is locked"):
// the destructor rolls back, disconnects and frees both handles, so the lock goes with them and
// a later writer gets in.
TEST(ODBCRelease, CommitRefusedOnDestructionIsRolledBack) {
    auto owner = connect(kSQLite.url);
    ScopedTable table(*owner, "n INTEGER");
    const std::string count = "SELECT COUNT(*) AS c FROM " + table.name();
    const std::string insert = "INSERT INTO " + table.name() + " VALUES (1)";
    auto reader = connect(kSQLite.url);
    reader->setAutoCommit(false);
    EXPECT_EQ(queryInt(*reader, count, "c"), 0);  // the read lock stays
    const auto before = handles();
    {
        auto writer = connect(kSQLiteNoWait.url);
        writer->setAutoCommit(false);
        execute(*writer, {insert});
        EXPECT_THROW(writer->commit(), CDBC_Exception);
    }
    EXPECT_EQ(handles(), before);
    reader->rollback();
    execute(*connect(kSQLiteNoWait.url), {insert});
    EXPECT_EQ(queryInt(*owner, count, "c"), 1);
}

}  // namespace
}  // namespace nvx4::test
