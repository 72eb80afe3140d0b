// A statement of a connection: runs query texts.
#ifndef DBSTATEMENT_H
#define DBSTATEMENT_H

#include <string>

class DBResultSet;

class DBStatement {
  public:
    // A new result set positioned before its first row, owned by the caller; each call yields an
    // independent one. It must not outlive this statement's connection.
    virtual DBResultSet* executeQuery(const std::string& sql) = 0;
    // Runs a statement that returns no rows; the result is the driver's completion status.
    virtual int executeUpdate(const std::string& sql) = 0;
    virtual ~DBStatement() = default;
};

#endif
