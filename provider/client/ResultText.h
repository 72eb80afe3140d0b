// What an enumeration result code means, for people.
#ifndef NVX4_CLIENT_RESULT_TEXT_H
#define NVX4_CLIENT_RESULT_TEXT_H

#include <string>

namespace nvx4::client {

// "result <code> (0x<hex>) <meaning>": the catalogue text, else the WMI status name, else the
// provider's own meaning of -1 and -10.
std::string describeResult(int code);

}  // namespace nvx4::client

#endif
