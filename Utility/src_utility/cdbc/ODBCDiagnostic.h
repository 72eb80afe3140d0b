// The first diagnostic record of an ODBC handle. Every failed ODBC call of the driver is raised
// from it: the data source's native error number becomes the exception's code and the record's
// text its message.
#ifndef ODBCDIAGNOSTIC_H
#define ODBCDIAGNOSTIC_H

#include <windows.h>
#include <sql.h>

#include <string>

#include "CDBC_Exception.h"

class ODBCDiagnostic {
  public:
    // Reads record 1 of the handle. Without a record (or on a null handle) the state and message
    // are empty and the native error is 0.
    ODBCDiagnostic(SQLSMALLINT handleType, SQLHANDLE handle);

    std::string getSqlState() const { return sqlState; }
    std::string getMessage() const { return message; }
    int getNativeError() const { return nativeError; }

    // The exception that reports the failed call, raised from `file` and `line`.
    CDBC_Exception toException(const char* file, int line) const;

  private:
    std::string sqlState;
    std::string message;
    int nativeError = 0;
};

#endif
