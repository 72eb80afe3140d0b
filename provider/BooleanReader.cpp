#include "BooleanReader.h"

#include "CDBC_Exception.h"
#include "ErrorCodes.h"
#include "WMIResultSet.h"

namespace nvx4 {

bool readBoolean(DBResultSet& resultSet, const std::string& property) {
    auto* wmi = dynamic_cast<WMIResultSet*>(&resultSet);
    if (wmi == nullptr)
        throw CDBC_Exception(__FILE__, __LINE__, CDBC_TYPE_ERROR, "type cast error");
    return wmi->getBoolean(property);
}

}  // namespace nvx4
