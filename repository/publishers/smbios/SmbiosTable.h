// An SMBIOS structure table as the firmware hands it over: an entry point (`_SM_` of versions
// 2.x, `_SM3_` of 3.x, or the bare `_DMI_` of 2.0) that gives the version and where the table
// lies, and the table of structures itself.
//
// The walk never reads past the bytes it is given: it keeps every structure that is whole and
// stops at the first that is not (a formatted area or string set cut off by the end of the
// table, a length below the header's), at the end-of-table structure, or after the number of
// structures a 2.x entry point declares.
#ifndef NVX4_SMBIOS_TABLE_H
#define NVX4_SMBIOS_TABLE_H

#include <cstdint>
#include <string>
#include <vector>

#include "SmbiosStructure.h"

namespace nvx4::repository::smbios {

using Bytes = std::vector<std::uint8_t>;

class SmbiosTable {
  public:
    // The entry point and the table bytes it describes (the kernel's smbios_entry_point and DMI
    // files). Throws std::runtime_error for bytes that are no valid entry point.
    static SmbiosTable read(const Bytes& entryPoint, const Bytes& table);
    // A dump file: the entry point at offset 0 and the table at the offset the entry point names
    // as its address.
    static SmbiosTable readDump(const Bytes& dump);

    int majorVersion() const { return major_; }
    int minorVersion() const { return minor_; }
    const std::vector<SmbiosStructure>& structures() const { return structures_; }
    std::vector<const SmbiosStructure*> ofType(std::uint8_t type) const;
    // The structure of a handle, or nullptr.
    const SmbiosStructure* find(std::uint16_t handle) const;

  private:
    struct EntryPoint;
    static EntryPoint parseEntryPoint(const Bytes& bytes);
    void walk(const std::uint8_t* table, std::size_t size, std::size_t count);

    int major_ = 0;
    int minor_ = 0;
    std::vector<SmbiosStructure> structures_;
};

}  // namespace nvx4::repository::smbios

#endif
