// The varbinds that snmpwalk, snmpbulkwalk, snmpget and snmpgetnext print with -On -Ox:
// numeric identifiers, strings as hexadecimal bytes (possibly over several lines), decoded
// into exact values.
#ifndef NVX4_TEST_WALK_OUTPUT_H
#define NVX4_TEST_WALK_OUTPUT_H

#include <map>
#include <string>
#include <vector>

namespace nvx4::test {

struct Varbind {
    std::string oid;    // dotted, without the leading dot
    std::string type;   // INTEGER, STRING (also for Hex-STRING), or what the tool printed
    std::string value;  // integer digits, or the string's bytes
};

// Raises std::runtime_error on a line it cannot read.
std::vector<Varbind> parseWalkOutput(const std::string& output);

}  // namespace nvx4::test

#endif
