// A statement over WMI: a query "select * from <class>" becomes an enumeration of every instance
// of that class.
#ifndef WMISTATEMENT_H
#define WMISTATEMENT_H

#include <windows.h>
#include <wbemcli.h>

#include <string>

#include "DBStatement.h"
#include "WMISecurity.h"

class WMIStatement : public DBStatement {
  public:
    // Borrows `services`: the connection that owns it must outlive this statement.
    WMIStatement(IWbemServices* services, const WMISecurity& security);
    WMIStatement(const WMIStatement&) = delete;
    WMIStatement& operator=(const WMIStatement&) = delete;

    // The class name is the text after the last space (the whole text when it has none).
    DBResultSet* executeQuery(const std::string& sql) override;
    // Does nothing; returns 0.
    int executeUpdate(const std::string& sql) override;
    ~WMIStatement() override = default;

  private:
    IWbemServices* services;
    WMISecurity security;
};

#endif
