// A connection to a data source. Obtained from DBDriver::getConnection; the caller owns it and
// deletes it after every statement made from it.
#ifndef DBCONNECTION_H
#define DBCONNECTION_H

class DBStatement;

class DBConnection {
  public:
    // A new statement, owned by the caller; it must not outlive this connection.
    virtual DBStatement* createStatement() = 0;
    virtual void setAutoCommit(bool on) = 0;
    virtual bool getAutoCommit() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual ~DBConnection() = default;
};

#endif
