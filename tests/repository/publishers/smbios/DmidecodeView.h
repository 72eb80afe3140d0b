// What the publisher's classes should hold according to dmidecode's decoding of the same table:
// for each class, the records it comes from and, per property, the value dmidecode's text
// stands for. Shared by the dump tests, the machine's own tables and the end-to-end run.
#ifndef NVX4_TEST_DMIDECODE_VIEW_H
#define NVX4_TEST_DMIDECODE_VIEW_H

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Dmidecode.h"
#include "nvx4/repository/Value.h"

namespace nvx4::test {

using repository::Value;
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

// Classes 1001-1020 except the event-log records, which dmidecode does not decode.
const std::vector<ClassView>& dmidecodeViews();
const ClassView& viewOf(const std::wstring& className);

// Text as dmidecode prints a string: bytes outside printable ASCII become '.'.
std::string dotted(const std::string& utf8);

}  // namespace nvx4::test

#endif
