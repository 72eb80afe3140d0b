#include "enum_inband.h"

namespace nvx4 {

std::string connectionUrl(const std::string& host) {
    const std::string user;
    const std::string password;
    return "wmi:" + host + "//user=" + user + ",password=" + password +
           ",namespace=root\\nvx4\\node";
}

void openQuery(const std::string& url, const std::string& className, QueryHandles& handles) {
    const DBUrl parsed(url);
    handles.connection = DBDriver::getConnection(parsed);
    handles.statement = handles.connection->createStatement();
    handles.resultSet = handles.statement->executeQuery("select * from " + className);
}

}  // namespace nvx4
