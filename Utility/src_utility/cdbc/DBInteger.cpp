#include "DBInteger.h"

int DBInteger::getInt() {
    if (isNull()) value = 0;
    return value;
}
