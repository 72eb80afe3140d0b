// Owns one ODBC handle of the kind `Type` (SQL_HANDLE_ENV, SQL_HANDLE_DBC, SQL_HANDLE_STMT) and
// frees it when it goes. Move-only.
#ifndef ODBCHANDLE_H
#define ODBCHANDLE_H

#include <windows.h>
#include <sql.h>

#include "OwnedHandle.h"

template <SQLSMALLINT Type>
struct ODBCHandleRelease {
    void operator()(SQLHANDLE handle) const noexcept { SQLFreeHandle(Type, handle); }
};

template <SQLSMALLINT Type>
using ODBCHandle = OwnedHandle<SQLHANDLE, ODBCHandleRelease<Type>>;

using ODBCEnvironmentHandle = ODBCHandle<SQL_HANDLE_ENV>;
using ODBCConnectionHandle = ODBCHandle<SQL_HANDLE_DBC>;
using ODBCStatementHandle = ODBCHandle<SQL_HANDLE_STMT>;

#endif
