// What each MIB column holds and its unit, from the table in column-descriptions.txt (compiled
// in). An entry is keyed by class and property; "*" as the class stands for every class.
#ifndef NVX4_AGENT_COLUMN_DESCRIPTIONS_H
#define NVX4_AGENT_COLUMN_DESCRIPTIONS_H

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "MibSchema.h"

namespace nvx4::agent {

class ColumnDescriptions {
  public:
    // Parses the table: one "CLASS.Property text" entry per line; blank lines and lines starting
    // with '#' are skipped. Raises std::invalid_argument naming the line when an entry has no
    // key or no text, repeats a key, or holds what an SMI description cannot (a double quote, a
    // character outside printable ASCII).
    explicit ColumnDescriptions(const std::string& table);

    // The table built into the program.
    static const ColumnDescriptions& builtIn();

    // The class's own entry for the property, else the entry for every class. Raises
    // std::logic_error naming class and property when there is neither.
    const std::string& describe(const std::string& className, const std::string& property) const;

    // Raises std::logic_error listing every column without a description and every entry that
    // describes no column of the tables (or is always overridden), so the table cannot fall behind
    // the field tables.
    void checkCovers(const std::vector<MibTable>& tables) const;

  private:
    using Key = std::pair<std::string, std::string>;  // class (or "*"), property
    using Entry = std::map<Key, std::string>::value_type;
    const Entry* find(const std::string& className, const std::string& property) const;

    std::map<Key, std::string> entries_;
};

}  // namespace nvx4::agent

#endif
