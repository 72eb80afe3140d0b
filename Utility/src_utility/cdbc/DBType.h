// The value object of one result-set column: holds the current row's value in its native
// representation and converts it strictly on request. Unsupported conversions raise
// 0x22000FFB "type cast error".
#ifndef DBTYPE_H
#define DBTYPE_H

#include <windows.h>
#include <sqltypes.h>

#include <string>

class DBType {
  public:
    // The length-or-indicator word the data source fills on each fetch; -1 means NULL.
    SQLLEN indicator = 0;

    DBType() = default;
    DBType(const DBType&) = delete;
    DBType& operator=(const DBType&) = delete;

    virtual std::string getString();
    virtual int getString(char* buffer, int size);
    virtual int getInt();
    virtual double getDouble();
    virtual ~DBType() = default;

  protected:
    bool isNull() const { return indicator == -1; }
};

#endif
