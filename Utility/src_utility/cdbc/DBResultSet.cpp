#include "DBResultSet.h"

#include "CDBC_Exception.h"
#include "DBType.h"
#include "ErrorCodes.h"

bool DBResultSet::haveNext() {
    throw CDBC_Exception(__FILE__, __LINE__, CDBC_UNSUPPORTED_FUNCTION,
                         "no support function[DBResultSet::haveNext()]");
}

std::vector<std::string> DBResultSet::getFieldNames() {
    std::vector<std::string> names;
    names.reserve(fields.size());
    for (const auto& field : fields) names.push_back(field.first);
    return names;
}

DBResultSet::~DBResultSet() {
    for (auto& field : fields) delete field.second;
    fields.clear();
}
