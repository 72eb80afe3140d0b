// Runs SQL text directly on an ODBC connection. Each query gets a statement handle of its own,
// owned by the result set it yields, so one statement can have any number of open results.
#ifndef ODBCSTATEMENT_H
#define ODBCSTATEMENT_H

#include <windows.h>
#include <sql.h>

#include "DBStatement.h"
#include "ODBCHandle.h"

class ODBCStatement : public DBStatement {
  public:
    // Borrows the connection handle, which must outlive the statement. Raises 0x22000FF6 on a
    // null handle.
    explicit ODBCStatement(SQLHDBC hdbc);
    ODBCStatement(const ODBCStatement&) = delete;
    ODBCStatement& operator=(const ODBCStatement&) = delete;

    // Only a plain SQL_SUCCESS opens a result set; a warning or "no data" raises like an error.
    DBResultSet* executeQuery(const std::string& sql) override;
    // SQL_SUCCESS (0), or SQL_NO_DATA (100) when nothing was touched; anything else raises.
    int executeUpdate(const std::string& sql) override;

  private:
    ODBCStatementHandle hstmt;  // used by executeUpdate only
    SQLHDBC hdbc;
};

#endif
