// The rows of a query, walked with next() and read by column name.
#ifndef DBRESULTSET_H
#define DBRESULTSET_H

#include <map>
#include <string>
#include <vector>

class DBType;

class DBResultSet {
  public:
    DBResultSet() = default;
    DBResultSet(const DBResultSet&) = delete;
    DBResultSet& operator=(const DBResultSet&) = delete;

    // Not supported by any driver: always raises 0x22000FFA. Use the result of next().
    virtual bool haveNext();
    // Moves to the next row; false once no row is left.
    virtual bool next() = 0;
    virtual std::string getString(const std::string& name) = 0;
    // Copies the column's text into `buffer` of `size` characters; the count returned is the
    // driver's own.
    virtual int getString(const std::string& name, char* buffer, int size) = 0;
    virtual double getDouble(const std::string& name) = 0;
    virtual int getInt(const std::string& name) = 0;
    // The column names, in byte-wise ascending order.
    virtual std::vector<std::string> getFieldNames();
    // Deletes every value object held in `fields`.
    virtual ~DBResultSet();

  protected:
    // Column name to value object. A driver that reads values another way registers its column
    // names with null pointers.
    std::map<std::string, DBType*> fields;
};

#endif
