#include "ODBCStatement.h"

#include <sqlext.h>

#include "ErrorCodes.h"
#include "ODBCDiagnostic.h"
#include "ODBCResultSet.h"
#include "ODBCText.h"
#include "Trace.h"

namespace {

// Only SQL_SUCCESS counts. A handle that came with a warning is released before raising, since
// the caller never sees it.
SQLHSTMT allocateStatementHandle(SQLHDBC hdbc) {
    SQLHSTMT handle = SQL_NULL_HSTMT;
    if (SQLAllocHandle(SQL_HANDLE_STMT, hdbc, &handle) == SQL_SUCCESS) return handle;
    const CDBC_Exception failure =
        ODBCDiagnostic(SQL_HANDLE_DBC, hdbc).toException(__FILE__, __LINE__);
    if (handle != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, handle);
    throw failure;
}

}  // namespace

ODBCStatement::ODBCStatement(SQLHDBC hdbc) : hdbc(hdbc) {
    if (hdbc == SQL_NULL_HDBC)
        throw CDBC_Exception(__FILE__, __LINE__, CDBC_INVALID_PARAMETER,
                             "using null init ODBCStatement");
    hstmt = allocateStatementHandle(hdbc);
}

DBResultSet* ODBCStatement::executeQuery(const std::string& sql) {
    fileTrace(3, __FILE__, __LINE__, "statement is %s", sql.c_str());
    SQLHSTMT query = allocateStatementHandle(hdbc);
    if (SQLExecDirect(query, odbcText(sql), SQL_NTS) != SQL_SUCCESS) {
        const CDBC_Exception failure =
            ODBCDiagnostic(SQL_HANDLE_STMT, query).toException(__FILE__, __LINE__);
        SQLFreeHandle(SQL_HANDLE_STMT, query);
        throw failure;
    }
    try {
        return new ODBCResultSet(query);
    } catch (...) {
        SQLFreeHandle(SQL_HANDLE_STMT, query);
        throw;
    }
}

int ODBCStatement::executeUpdate(const std::string& sql) {
    fileTrace(3, __FILE__, __LINE__, "statement is %s", sql.c_str());
    const SQLRETURN result = SQLExecDirect(hstmt, odbcText(sql), SQL_NTS);
    if (result == SQL_SUCCESS || result == SQL_NO_DATA) {
        // A text that did produce rows would otherwise keep its cursor open and make the next
        // update on this handle fail with an invalid cursor state.
        SQLFreeStmt(hstmt, SQL_CLOSE);
        return result;
    }
    const CDBC_Exception failure =
        ODBCDiagnostic(SQL_HANDLE_STMT, hstmt).toException(__FILE__, __LINE__);
    SQLFreeStmt(hstmt, SQL_CLOSE);
    throw failure;
}

ODBCStatement::~ODBCStatement() { SQLFreeHandle(SQL_HANDLE_STMT, hstmt); }
