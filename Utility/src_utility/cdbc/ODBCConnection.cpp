#include "ODBCConnection.h"

#include <sqlext.h>

#include "DBUrl.h"
#include "ErrorCodes.h"
#include "ODBCDiagnostic.h"
#include "ODBCStatement.h"
#include "ODBCText.h"

ODBCConnection::ODBCConnection(const DBUrl& url) {
    try {
        open(url);
    } catch (...) {
        freeHandles();
        throw;
    }
}

void ODBCConnection::open(const DBUrl& url) {
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &henv)))
        throw CDBC_Exception(__FILE__, __LINE__, CDBC_INIT_ENVIRONMENT, "can not init env");
    if (!SQL_SUCCEEDED(SQLSetEnvAttr(henv, SQL_ATTR_ODBC_VERSION,
                                     reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), SQL_IS_UINTEGER)))
        throw ODBCDiagnostic(SQL_HANDLE_ENV, henv).toException(__FILE__, __LINE__);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, henv, &hdbc)))
        throw ODBCDiagnostic(SQL_HANDLE_ENV, henv).toException(__FILE__, __LINE__);
    const std::string dataSource = url.getDatabaseName();
    const std::string user = url.getProperty("user");
    const std::string password = url.getProperty("password");
    if (!SQL_SUCCEEDED(SQLConnect(hdbc, odbcText(dataSource), SQL_NTS, odbcText(user), SQL_NTS,
                                  odbcText(password), SQL_NTS)))
        throw ODBCDiagnostic(SQL_HANDLE_DBC, hdbc).toException(__FILE__, __LINE__);
}

DBStatement* ODBCConnection::createStatement() { return new ODBCStatement(hdbc); }

void ODBCConnection::setAutoCommit(bool on) {
    autoCommit = on;
    const SQLULEN mode = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
    if (!SQL_SUCCEEDED(SQLSetConnectAttr(hdbc, SQL_ATTR_AUTOCOMMIT,
                                         reinterpret_cast<SQLPOINTER>(mode), SQL_IS_UINTEGER)))
        throw ODBCDiagnostic(SQL_HANDLE_DBC, hdbc).toException(__FILE__, __LINE__);
}

bool ODBCConnection::getAutoCommit() { return autoCommit; }

void ODBCConnection::commit() { endTransaction(SQL_COMMIT); }

void ODBCConnection::rollback() { endTransaction(SQL_ROLLBACK); }

void ODBCConnection::endTransaction(SQLSMALLINT completion) {
    if (!SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, hdbc, completion)))
        throw ODBCDiagnostic(SQL_HANDLE_DBC, hdbc).toException(__FILE__, __LINE__);
}

// Nothing can be reported from here, so every step is tried whatever the one before gave. A
// transaction left open would keep the data source from disconnecting, the handles from being
// freed and the connection's locks from being released: what the final commit cannot complete
// is rolled back.
ODBCConnection::~ODBCConnection() {
    if (!autoCommit && !SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, hdbc, SQL_COMMIT)))
        SQLEndTran(SQL_HANDLE_DBC, hdbc, SQL_ROLLBACK);
    if (!SQL_SUCCEEDED(SQLDisconnect(hdbc))) {
        SQLEndTran(SQL_HANDLE_DBC, hdbc, SQL_ROLLBACK);
        SQLDisconnect(hdbc);
    }
    freeHandles();
}

void ODBCConnection::freeHandles() {
    if (hdbc != SQL_NULL_HDBC) SQLFreeHandle(SQL_HANDLE_DBC, hdbc);
    if (henv != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, henv);
    hdbc = SQL_NULL_HDBC;
    henv = SQL_NULL_HENV;
}
