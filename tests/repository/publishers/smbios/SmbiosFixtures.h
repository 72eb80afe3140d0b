// Tables for the tests: one structure of every type the publisher reads (and a few it does not),
// cut to the lengths of the table version named, with the strings given.
#ifndef NVX4_TEST_SMBIOS_FIXTURES_H
#define NVX4_TEST_SMBIOS_FIXTURES_H

#include <string>

#include "SmbiosWriter.h"

namespace nvx4::test {

struct InventoryStrings {
    std::string vendor = "Acme Firmware Inc.";
    std::string product = "Roadrunner 3000";
    std::string serial = "SN-0001";
    std::string version = "1.2.3";
};

// Every structure type of classes 1001-1020, as a table of version major.minor writes it: fields
// that later versions added are left out of older tables.
SmbiosWriter inventory(int major, int minor, const InventoryStrings& strings = {});

}  // namespace nvx4::test

#endif
