// Writes the SMIv2 module NVX4-MIB for the tables of MibSchema under a chosen base identifier.
#ifndef NVX4_AGENT_MIB_WRITER_H
#define NVX4_AGENT_MIB_WRITER_H

#include <ostream>
#include <string>
#include <vector>

#include "ColumnDescriptions.h"
#include "MibSchema.h"
#include "ObjectId.h"

namespace nvx4::agent {

class MibWriter {
  public:
    // The base must lie under internet (1.3.6.1) and below one of the SNMPv2-SMI nodes it is
    // written against; raises std::invalid_argument otherwise. Columns are described from
    // descriptions, which must outlive the writer.
    explicit MibWriter(const ObjectId& base,
                       const ColumnDescriptions& descriptions = ColumnDescriptions::builtIn());

    // Raises std::logic_error naming class and property when a column has no description.
    void write(std::ostream& out, const std::vector<MibTable>& tables) const;

  private:
    void writeHeader(std::ostream& out) const;
    void writeTable(std::ostream& out, const MibTable& table) const;
    void writeConformance(std::ostream& out, const std::vector<MibTable>& tables) const;

    std::string parentNode_;  // the SNMPv2-SMI node the base hangs below
    std::string baseValue_;   // "{ enterprises 8072 9999 9999 }"
    const ColumnDescriptions* descriptions_;
};

}  // namespace nvx4::agent

#endif
