// The connection, statement and result set of one enumeration. Whatever way the enumeration
// ends, each is deleted exactly once: result set, then statement, then connection (the reverse
// of their order here).
#ifndef NVX4_QUERY_HANDLES_H
#define NVX4_QUERY_HANDLES_H

#include <memory>

#include "DBConnection.h"
#include "DBResultSet.h"
#include "DBStatement.h"

namespace nvx4 {

class QueryHandles {
  public:
    void close() {
        resultSet.reset();
        statement.reset();
        connection.reset();
    }

    std::unique_ptr<DBConnection> connection;
    std::unique_ptr<DBStatement> statement;
    std::unique_ptr<DBResultSet> resultSet;
};

}  // namespace nvx4

#endif
