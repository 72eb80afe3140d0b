#include "enum_inband.h"

#include <new>

namespace nvx4 {

std::string connectionUrl(const std::string& host) {
    const std::string user;
    const std::string password;
    return "wmi:" + host + "//user=" + user + ",password=" + password +
           ",namespace=root\\nvx4\\node";
}

void openQuery(const std::string& url, const std::string& className, QueryHandles& handles) {
    const DBUrl parsed(url);
    handles.connection.reset(DBDriver::getConnection(parsed));
    // The driver answers with no connection when it cannot allocate one.
    if (!handles.connection) throw std::bad_alloc();
    handles.statement.reset(handles.connection->createStatement());
    handles.resultSet.reset(handles.statement->executeQuery("select * from " + className));
}

}  // namespace nvx4
