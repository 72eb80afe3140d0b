#include "DBDouble.h"

#include <cmath>
#include <limits>

int DBDouble::getInt() {
    if (isNull()) return 0;
    // Converting an out-of-range double to int is undefined, so the bounds are checked first.
    if (std::isnan(value)) return 0;
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

double DBDouble::getDouble() { return isNull() ? 0.0 : value; }
