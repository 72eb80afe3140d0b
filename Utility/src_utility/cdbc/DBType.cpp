#include "DBType.h"

#include "CDBC_Exception.h"
#include "ErrorCodes.h"

namespace {
const char kTypeCastError[] = "type cast error";
}

std::string DBType::getString() {
    throw CDBC_Exception(__FILE__, __LINE__, CDBC_TYPE_ERROR, kTypeCastError);
}

int DBType::getString(char*, int) {
    throw CDBC_Exception(__FILE__, __LINE__, CDBC_TYPE_ERROR, kTypeCastError);
}

int DBType::getInt() { throw CDBC_Exception(__FILE__, __LINE__, CDBC_TYPE_ERROR, kTypeCastError); }

double DBType::getDouble() {
    throw CDBC_Exception(__FILE__, __LINE__, CDBC_TYPE_ERROR, kTypeCastError);
}
