// The rows of an ODBC query. The columns are described and bound once, one value object per
// supported column, so that fetching a row only has the data source overwrite those objects and
// allocates nothing.
#ifndef ODBCRESULTSET_H
#define ODBCRESULTSET_H

#include <windows.h>
#include <sql.h>

#include <memory>
#include <vector>

#include "DBResultSet.h"
#include "ODBCHandle.h"

class ODBCResultSet : public DBResultSet {
  public:
    // Takes over `hstmt`, on which a query has just run, also when construction fails, and binds
    // its columns: CHAR and VARCHAR as text, INTEGER and SMALLINT as integers, DOUBLE as double.
    // UNKNOWN, NUMERIC, DECIMAL, FLOAT, REAL and DATETIME raise 0x22000FFB "unsupport type[...]";
    // every other type is left out.
    explicit ODBCResultSet(ODBCStatementHandle&& hstmt);

    bool next() override;
    // Columns are found by their exact name as reported; an unknown one raises 0x22000FF9.
    std::string getString(const std::string& name) override;
    int getString(const std::string& name, char* buffer, int size) override;
    double getDouble(const std::string& name) override;
    int getInt(const std::string& name) override;
    // Closes the cursor and frees the handle.
    ~ODBCResultSet() override;

    // The largest text buffer bound to one column; longer values arrive truncated. It keeps a
    // driver that reports an enormous or unknown column size from costing unbounded memory.
    static constexpr SQLULEN kMaxTextCapacity = 1 << 20;

  private:
    void bindColumns();
    void bindColumn(SQLUSMALLINT column);
    void bindText(const std::string& name, SQLUSMALLINT column, SQLULEN columnSize);
    void bindInteger(const std::string& name, SQLUSMALLINT column);
    void bindDouble(const std::string& name, SQLUSMALLINT column);
    void keep(const std::string& name, std::unique_ptr<DBType> value);
    void checkStatement(SQLRETURN result, int line) const;
    DBType& field(const std::string& name);

    // Value objects displaced from `fields` by a later column of the same name. They stay bound
    // to their columns, so they must live until the handle is freed: the handle, declared after
    // them, goes first.
    std::vector<std::unique_ptr<DBType>> displaced;
    ODBCStatementHandle hstmt;
};

#endif
