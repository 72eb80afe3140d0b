// Counts the ODBC handles held in the test process. The ODBC test binary is linked with
// --wrap=SQLAllocHandle and --wrap=SQLFreeHandle, so every allocation and release made by the
// driver under test passes through here on its way to the driver manager.
#ifndef NVX4_ODBC_HANDLE_LEDGER_H
#define NVX4_ODBC_HANDLE_LEDGER_H

#include <windows.h>
#include <sql.h>

namespace nvx4::test {

// Handles of `type` (SQL_HANDLE_ENV, SQL_HANDLE_DBC, SQL_HANDLE_STMT) allocated and not freed.
int liveHandles(SQLSMALLINT type);

}  // namespace nvx4::test

#endif
