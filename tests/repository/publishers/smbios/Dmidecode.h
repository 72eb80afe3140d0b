// Runs Debian's dmidecode on the same bytes the publisher reads, as an independent decoder, and
// splits its text output into records: "Handle 0x0004, DMI type 4, 48 bytes", a title line,
// then "\tKey: value" lines and "\t\titem" lines that list under the key before them. A
// structure with several titled blocks (type 10) gives a record per block; one that dmidecode
// marks as truncated gives none.
#ifndef NVX4_TEST_DMIDECODE_H
#define NVX4_TEST_DMIDECODE_H

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace nvx4::test {

struct DmiRecord {
    std::uint16_t handle = 0;
    int type = 0;
    std::string title;
    std::map<std::string, std::string> fields;
    std::map<std::string, std::vector<std::string>> lists;

    std::optional<std::string> field(const std::string& key) const;
};

class Dmidecode {
  public:
    // `arguments` such as "--from-dump FILE" or "-t 0,1,4,2"; the records in output order.
    static std::vector<DmiRecord> run(const std::string& arguments);
    static std::vector<DmiRecord> parse(const std::string& output);
    static bool available();
};

}  // namespace nvx4::test

#endif
