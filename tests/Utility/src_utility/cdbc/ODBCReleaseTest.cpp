// Every ODBC handle the driver allocates is released again, on success and on each failure path.
// The handle ledger sees the driver's own SQLAllocHandle and SQLFreeHandle calls; the value
// objects of a failed result set are watched by the leak sanitizer.
#include <gtest/gtest.h>

#include <functional>

#include "ODBCHandleLedger.h"
#include "ODBCTestSources.h"

namespace {

using nvx4::test::connect;
using nvx4::test::execute;
using nvx4::test::liveHandles;
using nvx4::test::query;
using nvx4::test::statementOf;

struct Handles {
    int environments = liveHandles(SQL_HANDLE_ENV);
    int connections = liveHandles(SQL_HANDLE_DBC);
    int statements = liveHandles(SQL_HANDLE_STMT);
    bool operator==(const Handles& o) const {
        return environments == o.environments && connections == o.connections &&
               statements == o.statements;
    }
};

std::ostream& operator<<(std::ostream& out, const Handles& h) {
    return out << h.environments << " env, " << h.connections << " dbc, " << h.statements
               << " stmt";
}

TEST(ODBCRelease, FailingConstructionAndQueriesLeaveNoHandleBehind) {
    auto sqlite = connect(nvx4::test::kSQLite.url);
    auto postgres = connect(nvx4::test::kPostgreSQL.url);
    execute(*postgres, {"CREATE FUNCTION pg_temp.nvx4_warn() RETURNS integer AS "
                        "$$ BEGIN RAISE NOTICE 'warn'; RETURN 1; END $$ LANGUAGE plpgsql"});
    nvx4::test::ScopedTable empty(*sqlite, "n INTEGER");
    auto sqliteStatement = statementOf(*sqlite);
    auto postgresStatement = statementOf(*postgres);
    struct Case {
        const char* what;
        std::function<void()> fail;
    };
    const Case cases[] = {
        {"unknown data source", [] { connect("odbc:nvx4_nowhere"); }},
        {"wrong password", [] { connect("odbc:nvx4_pg//user=nvx4,password=wrong"); }},
        {"stopped server", [] { connect("odbc:nvx4_pg_stopped//user=nvx4,password=x"); }},
        {"query error", [&] { sqliteStatement->executeQuery("SELECT * FROM nvx4_missing"); }},
        {"query without data",
         [&] { sqliteStatement->executeQuery("DELETE FROM " + empty.name()); }},
        {"query warning", [&] { postgresStatement->executeQuery("SELECT pg_temp.nvx4_warn()"); }},
        // Two columns are bound before the third is refused.
        {"refused column",
         [&] {
             postgresStatement->executeQuery("SELECT 1 AS a, 'x'::varchar(3) AS b, 1.5::real AS c");
         }},
        {"update error", [&] { postgresStatement->executeUpdate("DELETE FROM nvx4_missing"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Handles before;
        EXPECT_THROW(c.fail(), CDBC_Exception);
        EXPECT_EQ(Handles(), before);
    }
}

TEST(ODBCRelease, DeletingTheObjectsReleasesEveryHandle) {
    const Handles before;
    {
        auto connection = connect(nvx4::test::kSQLite.url);
        auto statement = statementOf(*connection);
        auto first = query(*statement, "SELECT 1 AS n");
        auto second = query(*statement, "SELECT 2 AS n");
        ASSERT_TRUE(first->next());
        EXPECT_EQ(liveHandles(SQL_HANDLE_STMT) - before.statements, 3);
    }
    EXPECT_EQ(Handles(), before);
}

}  // namespace

// Once the server has dropped a connection, its commit fails: explicitly it raises, and in the
// destructor (auto-commit off) it is dropped while the handles are still released.
TEST(ODBCRelease, ConnectionLostByTheServerIsStillReleased) {
    auto observer = connect(nvx4::test::kPostgreSQL.url);
    const Handles before;
    auto writer = connect(nvx4::test::kPostgreSQL.url);
    writer->setAutoCommit(false);
    const int pid = nvx4::test::queryInt(*writer, "SELECT pg_backend_pid() AS pid", "pid");
    execute(*observer, {"SELECT pg_terminate_backend(" + std::to_string(pid) + ")"});
    EXPECT_THROW(writer->commit(), CDBC_Exception);
    EXPECT_NO_THROW(writer.reset());
    EXPECT_EQ(Handles(), before);
}

// A final commit refused because another connection holds a read lock ("database is locked"):
// the destructor rolls back, disconnects and frees both handles, so the lock goes with them and
// a later writer gets in.
TEST(ODBCRelease, CommitRefusedOnDestructionIsRolledBack) {
    auto owner = connect(nvx4::test::kSQLite.url);
    nvx4::test::ScopedTable table(*owner, "n INTEGER");
    const std::string count = "SELECT COUNT(*) AS c FROM " + table.name();
    const std::string insert = "INSERT INTO " + table.name() + " VALUES (1)";
    auto reader = connect(nvx4::test::kSQLite.url);
    reader->setAutoCommit(false);
    EXPECT_EQ(nvx4::test::queryInt(*reader, count, "c"), 0);  // the read lock stays
    const Handles before;
    {
        auto writer = connect(nvx4::test::kSQLiteNoWait.url);
        writer->setAutoCommit(false);
        execute(*writer, {insert});
        EXPECT_THROW(writer->commit(), CDBC_Exception);
    }
    EXPECT_EQ(Handles(), before);
    reader->rollback();
    execute(*connect(nvx4::test::kSQLiteNoWait.url), {insert});
    EXPECT_EQ(nvx4::test::queryInt(*owner, count, "c"), 1);
}
