// A connection to an ODBC data source: the URL's database name is the data source name, its
// properties `user` and `password` the credentials (empty when absent).
#ifndef ODBCCONNECTION_H
#define ODBCCONNECTION_H

#include <windows.h>
#include <sql.h>

#include "DBConnection.h"
#include "ODBCHandle.h"

class DBUrl;

class ODBCConnection : public DBConnection {
  public:
    // Opens an environment and connects. Raises 0x22000FF8 "can not init env" when no environment
    // can be had, otherwise the failing handle's native error and message; whatever was
    // allocated by then is released.
    explicit ODBCConnection(const DBUrl& url);
    ODBCConnection(const ODBCConnection&) = delete;
    ODBCConnection& operator=(const ODBCConnection&) = delete;

    // A new statement on this connection, owned by the caller; delete it before the connection.
    DBStatement* createStatement() override;
    // Records the wish before asking the data source, so a refused change still reads back as
    // requested.
    void setAutoCommit(bool on) override;
    bool getAutoCommit() override;
    void commit() override;
    void rollback() override;
    // Commits when auto-commit is off, rolling back when the commit fails, then disconnects;
    // a refused disconnect is tried once more after a rollback.
    ~ODBCConnection() override;

  private:
    void open(const DBUrl& url);
    void endTransaction(SQLSMALLINT completion);

    // The connection handle is freed before the environment it was allocated in.
    ODBCEnvironmentHandle henv;
    ODBCConnectionHandle hdbc;
    bool autoCommit = true;
};

#endif
