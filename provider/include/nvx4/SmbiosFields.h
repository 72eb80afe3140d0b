// Field tables of the hardware inventory records (classes 1001..1020).
#ifndef NVX4_SMBIOS_FIELDS_H
#define NVX4_SMBIOS_FIELDS_H

#include "nvx4/FieldTable.h"
#include "nvx4/SmbiosRecords.h"

namespace nvx4 {

template <>
struct RecordTraits<SMBIOS_BIOS> {
    using R = SMBIOS_BIOS;
    static constexpr int classId = 1001;
    static constexpr Field<R> fields[] = {
        integerField("Handle", &R::Handle),
        textField("Version", &R::Version),
        textField("ReleaseDate", &R::ReleaseDate),
        textField("Manufacturer", &R::Manufacturer),
    };
};

}  // namespace nvx4

#endif
