// Host-name utilities: does a host string name the machine this library runs on?
#ifndef MISCELLANEA_H
#define MISCELLANEA_H

#include <string>

// True for "127.0.0.1", for "localhost" in any case, for the machine's own name or the official
// name of "localhost", and for a dotted quad whose reverse look-up gives that official name.
// Look-up failures answer false and are traced at level 1.
bool isLocalHost(const std::string& host);

// Four dot-separated parts, each reading (as atoi does) as a number from 1 to 255; the fourth
// part runs to the end of the string.
bool isDottedQuad(const std::string& text);

#endif
