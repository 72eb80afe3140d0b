// The connection, statement and result set of one enumeration. Whatever way the enumeration
// ends, each is deleted exactly once: result set, then statement, then connection.
#ifndef NVX4_QUERY_HANDLES_H
#define NVX4_QUERY_HANDLES_H

#include "DBConnection.h"
#include "DBResultSet.h"
#include "DBStatement.h"

namespace nvx4 {

class QueryHandles {
  public:
    QueryHandles() = default;
    QueryHandles(const QueryHandles&) = delete;
    QueryHandles& operator=(const QueryHandles&) = delete;
    ~QueryHandles() { close(); }

    void close() {
        delete resultSet;
        resultSet = nullptr;
        delete statement;
        statement = nullptr;
        delete connection;
        connection = nullptr;
    }

    DBConnection* connection = nullptr;
    DBStatement* statement = nullptr;
    DBResultSet* resultSet = nullptr;
};

}  // namespace nvx4

#endif
