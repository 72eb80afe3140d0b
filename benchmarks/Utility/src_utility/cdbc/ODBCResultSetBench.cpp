// Reading 1,000,000 rows (integer, double, 32-character text) from a SQLite database: through
// ODBCResultSet (next, getInt, getDouble, getString per row) and through a raw ODBC loop over
// bound columns, in the same process. The result-set benchmark also reports its time relative to
// the raw loop and the heap allocations made per next() and per row.
#include <benchmark/benchmark.h>

#include <windows.h>
#include <sql.h>
#include <sqlext.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "AllocationCounter.h"
#include "DBConnection.h"
#include "DBDriver.h"
#include "DBResultSet.h"
#include "DBStatement.h"
#include "DBUrl.h"

namespace {

constexpr int kRows = 1000000;
const char kQuery[] = "SELECT i, d, s FROM rows";

SQLCHAR* odbcText(const char* text) { return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text)); }

// A SQLite database of kRows rows in a temporary folder, registered as data source nvx4_bench in
// ODBC configuration files of its own, and a raw connection to it.
class BenchSource {
  public:
    BenchSource() {
        char pattern[] = "/tmp/nvx4-bench-XXXXXX";
        folder = mkdtemp(pattern);
        std::ofstream(folder + "/odbcinst.ini")
            << "[NVX4 SQLite]\nDriver = " NVX4_SQLITE_ODBC_DRIVER "\nDontDLClose = 1\n";
        std::ofstream(folder + "/odbc.ini")
            << "[nvx4_bench]\nDriver = NVX4 SQLite\nDatabase = " << folder << "/bench.sqlite\n";
        setenv("ODBCSYSINI", folder.c_str(), 1);
        setenv("ODBCINI", (folder + "/odbc.ini").c_str(), 1);
        connectRaw();
        execute("CREATE TABLE rows (i INTEGER, d DOUBLE, s VARCHAR(32))");
        execute(
            "INSERT INTO rows WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
            "WHERE i < 1000000) SELECT i, i * 0.5, printf('%032d', i) FROM n");
    }
    ~BenchSource() {
        SQLDisconnect(connection);
        SQLFreeHandle(SQL_HANDLE_DBC, connection);
        SQLFreeHandle(SQL_HANDLE_ENV, environment);
        for (const char* file : {"/bench.sqlite", "/odbc.ini", "/odbcinst.ini"})
            std::remove((folder + file).c_str());
        std::remove(folder.c_str());
    }

    SQLHDBC raw() const { return connection; }

  private:
    void connectRaw() {
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment);
        SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION,
                      reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), SQL_IS_UINTEGER);
        SQLAllocHandle(SQL_HANDLE_DBC, environment, &connection);
        if (!SQL_SUCCEEDED(SQLConnect(connection, odbcText("nvx4_bench"), SQL_NTS, odbcText(""),
                                      SQL_NTS, odbcText(""), SQL_NTS))) {
            std::fprintf(stderr, "cannot connect to the benchmark database\n");
            std::exit(1);
        }
    }
    void execute(const char* sql) {
        SQLHSTMT statement = SQL_NULL_HSTMT;
        SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement);
        SQLExecDirect(statement, odbcText(sql), SQL_NTS);
        SQLFreeHandle(SQL_HANDLE_STMT, statement);
    }

    std::string folder;
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC connection = SQL_NULL_HDBC;
};

BenchSource& source() {
    static BenchSource instance;
    return instance;
}

// Seconds per pass of the raw loop, once it has run, for the result set's ratio.
double rawSecondsPerPass = 0;

void BM_RawODBCLoop(benchmark::State& state) {
    SQLHDBC connection = source().raw();
    long long rows = 0;
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        SQLHSTMT statement = SQL_NULL_HSTMT;
        SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement);
        SQLExecDirect(statement, odbcText(kQuery), SQL_NTS);
        SQLINTEGER integer = 0;
        double real = 0;
        char text[33];
        SQLLEN indicators[3];
        SQLBindCol(statement, 1, SQL_C_LONG, &integer, sizeof integer, &indicators[0]);
        SQLBindCol(statement, 2, SQL_C_DOUBLE, &real, sizeof real, &indicators[1]);
        SQLBindCol(statement, 3, SQL_C_CHAR, text, sizeof text, &indicators[2]);
        while (SQL_SUCCEEDED(SQLFetch(statement))) {
            benchmark::DoNotOptimize(integer);
            benchmark::DoNotOptimize(real);
            benchmark::DoNotOptimize(text[31]);
            ++rows;
        }
        SQLFreeHandle(SQL_HANDLE_STMT, statement);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    if (rows != static_cast<long long>(kRows) * state.iterations()) state.SkipWithError("rows");
    rawSecondsPerPass = seconds / static_cast<double>(state.iterations());
    state.SetItemsProcessed(rows);
}

void BM_ODBCResultSet(benchmark::State& state) {
    source();
    const std::string i = "i", d = "d", s = "s";
    std::unique_ptr<DBConnection> connection(DBDriver::getConnection(DBUrl("odbc:nvx4_bench")));
    std::unique_ptr<DBStatement> statement(connection->createStatement());
    long long rows = 0;
    std::size_t nextAllocations = 0, rowAllocations = 0;
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        std::unique_ptr<DBResultSet> result(statement->executeQuery(kQuery));
        for (;;) {
            const std::size_t before = nvx4::bench::allocationCount();
            const bool more = result->next();
            nextAllocations += nvx4::bench::allocationCount() - before;
            if (!more) break;
            benchmark::DoNotOptimize(result->getInt(i));
            benchmark::DoNotOptimize(result->getDouble(d));
            std::string text = result->getString(s);
            benchmark::DoNotOptimize(text.data());
            rowAllocations += nvx4::bench::allocationCount() - before;
            ++rows;
        }
        result.reset();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    if (rows != static_cast<long long>(kRows) * state.iterations()) state.SkipWithError("rows");
    state.SetItemsProcessed(rows);
    state.counters["allocs_per_next"] = static_cast<double>(nextAllocations) / rows;
    state.counters["allocs_per_row"] = static_cast<double>(rowAllocations) / rows;
    if (rawSecondsPerPass > 0)
        state.counters["vs_raw"] = seconds / state.iterations() / rawSecondsPerPass;
}

}  // namespace

BENCHMARK(BM_RawODBCLoop)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ODBCResultSet)->Unit(benchmark::kMillisecond)->Iterations(5);
