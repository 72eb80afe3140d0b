// The text conversions of the class enumerators.
#ifndef NVX4_TO_STRING_H
#define NVX4_TO_STRING_H

#include <string>

namespace nvx4 {

// Decimal, as "%d" of the zero-extended value: 65535 gives "65535".
std::string toString(unsigned short value);
// "true" or "false".
std::string toString(bool value);
// "%.6f": 1.5 gives "1.500000". Values too large for the usual 64 characters are written in full.
std::string toString(double value);

}  // namespace nvx4

#endif
