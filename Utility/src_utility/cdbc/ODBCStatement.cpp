#include "ODBCStatement.h"

#include <sqlext.h>

#include <utility>

#include "ErrorCodes.h"
#include "ODBCDiagnostic.h"
#include "ODBCResultSet.h"
#include "ODBCText.h"
#include "Trace.h"

namespace {

// Only SQL_SUCCESS counts. A handle that came with a warning is released once the diagnostic
// has been read, since the caller never sees it.
ODBCStatementHandle allocateStatementHandle(SQLHDBC hdbc) {
    ODBCStatementHandle handle;
    if (SQLAllocHandle(SQL_HANDLE_STMT, hdbc, handle.put()) == SQL_SUCCESS) return handle;
    throw ODBCDiagnostic(SQL_HANDLE_DBC, hdbc).toException(__FILE__, __LINE__);
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
    ODBCStatementHandle query = allocateStatementHandle(hdbc);
    if (SQLExecDirect(query.get(), odbcText(sql), SQL_NTS) != SQL_SUCCESS)
        throw ODBCDiagnostic(SQL_HANDLE_STMT, query.get()).toException(__FILE__, __LINE__);
    // A result set that cannot be allocated never takes the handle over.
    return new ODBCResultSet(std::move(query));
}

int ODBCStatement::executeUpdate(const std::string& sql) {
    fileTrace(3, __FILE__, __LINE__, "statement is %s", sql.c_str());
    const SQLRETURN result = SQLExecDirect(hstmt.get(), odbcText(sql), SQL_NTS);
    if (result == SQL_SUCCESS || result == SQL_NO_DATA) {
        // A text that did produce rows would otherwise keep its cursor open and make the next
        // update on this handle fail with an invalid cursor state.
        SQLFreeStmt(hstmt.get(), SQL_CLOSE);
        return result;
    }
    const CDBC_Exception failure =
        ODBCDiagnostic(SQL_HANDLE_STMT, hstmt.get()).toException(__FILE__, __LINE__);
    SQLFreeStmt(hstmt.get(), SQL_CLOSE);
    throw failure;
}
