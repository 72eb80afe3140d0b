#include "ToString.h"

#include <cstdio>

namespace nvx4 {

std::string toString(unsigned short value) { return std::to_string(static_cast<unsigned>(value)); }

std::string toString(bool value) { return value ? "true" : "false"; }

std::string toString(double value) {
    char text[64];
    const int length = std::snprintf(text, sizeof text, "%.6f", value);
    if (length >= 0 && length < static_cast<int>(sizeof text)) return text;
    // Magnitudes from about 1e55 need more room; the full text is kept rather than cut.
    std::string wide(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(&wide[0], wide.size(), "%.6f", value);
    wide.resize(static_cast<size_t>(length));
    return wide;
}

}  // namespace nvx4
