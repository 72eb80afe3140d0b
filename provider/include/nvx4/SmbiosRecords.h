// Hardware inventory records, read from the SMBIOS tables (classes 1001..1020).
#ifndef NVX4_SMBIOS_RECORDS_H
#define NVX4_SMBIOS_RECORDS_H

#include <string>

struct SMBIOS_BIOS {
    int Handle;
    std::string Version;
    std::string ReleaseDate;
    std::string Manufacturer;
};

#endif
