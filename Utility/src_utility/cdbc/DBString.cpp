#include "DBString.h"

#include <algorithm>
#include <cstring>

DBString::DBString(int capacity) : value(static_cast<size_t>(std::max(capacity, 0)), '\0') {}

std::string DBString::getString() {
    if (isNull()) return std::string();
    return std::string(value.c_str());
}

int DBString::getString(char* buffer, int size) {
    if (size <= 0) return 0;  // nothing fits, not even a terminator
    if (isNull()) {
        buffer[0] = '\0';
        return 0;
    }
    std::strncpy(buffer, value.c_str(), static_cast<size_t>(size));
    return std::min(size, capacity());
}
