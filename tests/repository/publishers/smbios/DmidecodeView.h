// What the publisher's classes should hold according to Debian's dmidecode, an independent
// decoder of the same table: its text output split into records ("Handle 0x0004, DMI type 4,
// 48 bytes", a title, then "\tKey: value" lines and "\t\titem" lines listed under the key before
// them; a structure with several titled blocks, type 10, gives a record per block, one marked as
// truncated none); for each class, the records it comes from and, per property, the value
// dmidecode's text stands for.
#ifndef NVX4_TEST_DMIDECODE_VIEW_H
#define NVX4_TEST_DMIDECODE_VIEW_H

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "nvx4/repository/Value.h"

namespace nvx4::test {

using repository::Value;

struct DmiRecord {
    std::uint16_t handle = 0;
    int type = 0;
    std::string title;
    std::map<std::string, std::string> fields;
    std::map<std::string, std::vector<std::string>> lists;

    std::optional<std::string> field(const std::string& key) const {
        auto found = fields.find(key);
        return found == fields.end() ? std::nullopt : std::optional(found->second);
    }
};
using Records = std::vector<DmiRecord>;

// The expected value of a property, or nullopt where dmidecode does not show it.
using Expect = std::function<std::optional<Value>(const DmiRecord&, const Records& all)>;

struct PropertyView {
    const wchar_t* property;
    Expect expect;
};

struct ClassView {
    const wchar_t* className;
    std::function<bool(const DmiRecord&)> selects;
    std::vector<PropertyView> properties;

    // The records the class's instances come from, in table order.
    std::vector<const DmiRecord*> recordsIn(const Records& all) const {
        std::vector<const DmiRecord*> records;
        for (const DmiRecord& r : all)
            if (selects(r)) records.push_back(&r);
        return records;
    }
};

// Debian's dmidecode run with `arguments` ("--from-dump FILE", "-t 0,1,4,2"): its records in
// output order; false from dmidecodeAvailable() when it is not installed.
Records dmidecode(const std::string& arguments);
bool dmidecodeAvailable();

// Classes 1001-1020 except the event-log records, which dmidecode does not decode.
const std::vector<ClassView>& dmidecodeViews();
const ClassView& viewOf(const std::wstring& className);

// Text as dmidecode prints a string: bytes outside printable ASCII become '.'.
std::string dotted(const std::string& utf8);

}  // namespace nvx4::test

#endif
