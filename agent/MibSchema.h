// The MIB's tables, derived from the provider's class and field tables: one table per class, the
// row number as index (column 1), then one column per record field in field order. The MIB
// generator writes it out; the subagent serves it.
#ifndef NVX4_AGENT_MIB_SCHEMA_H
#define NVX4_AGENT_MIB_SCHEMA_H

#include <string>
#include <vector>

#include "nvx4/ClassTable.h"
#include "nvx4/FieldTable.h"

namespace nvx4::agent {

struct MibColumn {
    unsigned long subId;     // under the table's entry
    std::string descriptor;  // e.g. nvx4SmbiosFanNominalSpeed
    const char* property;    // the record field it shows
    FieldKind kind;
};

struct MibTable {
    const ClassInfo* info;
    std::string prefix;              // e.g. nvx4SmbiosFan; descriptors start with it
    bool recordHasIndex;             // the record numbers its rows in an Index member
    std::vector<MibColumn> columns;  // the fields, in field order, sub-identifiers from 2

    unsigned long subId() const { return static_cast<unsigned long>(info->id); }
    std::string indexDescriptor() const { return prefix + "Index"; }
    std::string tableDescriptor() const { return prefix + "Table"; }
    std::string entryDescriptor() const { return prefix + "Entry"; }
    // The SEQUENCE type of a row: the entry descriptor with a capital first letter.
    std::string entryType() const;
};

class MibSchema {
  public:
    // Sub-identifier of the index column; field columns follow it.
    static constexpr unsigned long kIndexColumn = 1;
    // Maximum length of an SMI descriptor.
    static constexpr size_t kMaxDescriptor = 64;

    // Every class, in identifier order. Built once; raises std::logic_error when a class has no
    // field table or a descriptor breaks the SMI rules (letters and digits only, at most 64
    // characters, unique).
    static const std::vector<MibTable>& tables();
    static const MibTable* find(int classId);

    // "nvx4" and the record type in mixed case: SMBIOS_BIOS gives nvx4SmbiosBios, OS_CPUUsage
    // gives nvx4OsCPUUsage (an all-capitals part keeps only its first capital).
    static std::string prefixOf(const std::string& recordType);
    // Raises std::logic_error naming the descriptor when it breaks a rule.
    static void checkDescriptors(const std::vector<MibTable>& tables);
};

}  // namespace nvx4::agent

#endif
