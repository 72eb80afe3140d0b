#include "ODBCConnection.h"

#include <sqlext.h>

#include "DBUrl.h"
#include "ErrorCodes.h"
#include "ODBCDiagnostic.h"
#include "ODBCStatement.h"
#include "ODBCText.h"

// A failed constructor runs no destructor of its own, but its members' run: the handles allocated
// by then are freed by them.
ODBCConnection::ODBCConnection(const DBUrl& url) { open(url); }

void ODBCConnection::open(const DBUrl& url) {
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, henv.put())))
        throw CDBC_Exception(__FILE__, __LINE__, CDBC_INIT_ENVIRONMENT, "can not init env");
    if (!SQL_SUCCEEDED(SQLSetEnvAttr(henv.get(), SQL_ATTR_ODBC_VERSION,
                                     reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), SQL_IS_UINTEGER)))
        throw ODBCDiagnostic(SQL_HANDLE_ENV, henv.get()).toException(__FILE__, __LINE__);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, henv.get(), hdbc.put())))
        throw ODBCDiagnostic(SQL_HANDLE_ENV, henv.get()).toException(__FILE__, __LINE__);
    const std::string dataSource = url.getDatabaseName();
    const std::string user = url.getProperty("user");
    const std::string password = url.getProperty("password");
    if (!SQL_SUCCEEDED(SQLConnect(hdbc.get(), odbcText(dataSource), SQL_NTS, odbcText(user),
                                  SQL_NTS, odbcText(password), SQL_NTS)))
        throw ODBCDiagnostic(SQL_HANDLE_DBC, hdbc.get()).toException(__FILE__, __LINE__);
}

DBStatement* ODBCConnection::createStatement() { return new ODBCStatement(hdbc.get()); }

void ODBCConnection::setAutoCommit(bool on) {
    autoCommit = on;
    const SQLULEN mode = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
    if (!SQL_SUCCEEDED(SQLSetConnectAttr(hdbc.get(), SQL_ATTR_AUTOCOMMIT,
                                         reinterpret_cast<SQLPOINTER>(mode), SQL_IS_UINTEGER)))
        throw ODBCDiagnostic(SQL_HANDLE_DBC, hdbc.get()).toException(__FILE__, __LINE__);
}

bool ODBCConnection::getAutoCommit() { return autoCommit; }

void ODBCConnection::commit() { endTransaction(SQL_COMMIT); }

void ODBCConnection::rollback() { endTransaction(SQL_ROLLBACK); }

void ODBCConnection::endTransaction(SQLSMALLINT completion) {
    if (!SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, hdbc.get(), completion)))
        throw ODBCDiagnostic(SQL_HANDLE_DBC, hdbc.get()).toException(__FILE__, __LINE__);
}

// Nothing can be reported from here, so every step is tried whatever the one before gave. A
// transaction left open would keep the data source from disconnecting, the handles from being
// freed and the connection's locks from being released: what the final commit cannot complete
// is rolled back. The members free the handles afterwards.
ODBCConnection::~ODBCConnection() {
    SQLHDBC connection = hdbc.get();
    if (!autoCommit && !SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, connection, SQL_COMMIT)))
        SQLEndTran(SQL_HANDLE_DBC, connection, SQL_ROLLBACK);
    if (!SQL_SUCCEEDED(SQLDisconnect(connection))) {
        SQLEndTran(SQL_HANDLE_DBC, connection, SQL_ROLLBACK);
        SQLDisconnect(connection);
    }
}
