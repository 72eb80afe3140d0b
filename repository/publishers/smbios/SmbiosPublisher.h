// Publishes classes 1001-1020 (NVX4_SMBIOS_*) from an SMBIOS structure table: the one the kernel
// exposes (/sys/firmware/dmi/tables), another folder holding the same two files, or a dump file
// in the binary dump format (entry point at offset 0, table at the offset it names).
#ifndef NVX4_SMBIOS_PUBLISHER_H
#define NVX4_SMBIOS_PUBLISHER_H

#include <string>

#include "SmbiosTable.h"
#include "nvx4/repository/Publisher.h"

namespace nvx4::repository::smbios {

class SmbiosPublisher : public Publisher {
  public:
    static constexpr const char* kKernelTables = "/sys/firmware/dmi/tables";

    // `source`: empty for the kernel's tables, else a folder like the kernel's or a dump file.
    explicit SmbiosPublisher(std::string source);

    bool fills(std::wstring_view className) const override;
    Publication publish(std::wstring_view className) override;

    static PublisherFactory factory();

  private:
    // The table now; empty `absent` unless the machine has no tables.
    struct Reading {
        SmbiosTable table;
        std::string absent;
    };
    Reading read() const;
    Publication publishLogRecords(const SmbiosTable& table) const;

    std::string source_;
};

}  // namespace nvx4::repository::smbios

#endif
