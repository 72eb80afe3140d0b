#include "MibSchema.h"

#include <cctype>
#include <iterator>
#include <set>
#include <stdexcept>

namespace nvx4::agent {
namespace {

bool allCapitals(const std::string& part) {
    for (char c : part)
        if (std::islower(static_cast<unsigned char>(c))) return false;
    return true;
}

std::string mixedCase(const std::string& part) {
    if (!allCapitals(part)) return part;
    std::string mixed = part;
    for (size_t i = 1; i < mixed.size(); ++i)
        mixed[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(mixed[i])));
    return mixed;
}

template <class Record>
MibTable tableOf(const ClassInfo& info) {
    MibTable table{&info, MibSchema::prefixOf(info.recordType), HasIndex<Record>::value, {}};
    unsigned long subId = MibSchema::kIndexColumn;
    for (const Field<Record>& field : RecordTraits<Record>::fields)
        table.columns.push_back(
            {++subId, table.prefix + field.property, field.property, field.kind});
    return table;
}

std::vector<MibTable> buildTables() {
    std::vector<MibTable> tables;
    for (const ClassInfo& info : kClassTable) {
        const bool known = AllRecords::visit(info.id, [&](auto tag) {
            tables.push_back(tableOf<typename decltype(tag)::type>(info));
        });
        if (!known)
            throw std::logic_error(std::string("class ") + info.repositoryClass +
                                   " has no field table");
    }
    MibSchema::checkDescriptors(tables);
    return tables;
}

bool isDescriptor(const std::string& name) {
    if (name.empty() || name.size() > MibSchema::kMaxDescriptor) return false;
    if (!std::islower(static_cast<unsigned char>(name[0]))) return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    return true;
}

}  // namespace

std::string MibTable::entryType() const {
    std::string type = entryDescriptor();
    type[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(type[0])));
    return type;
}

std::string MibSchema::prefixOf(const std::string& recordType) {
    std::string prefix = "nvx4";
    size_t start = 0;
    while (start <= recordType.size()) {
        const size_t end = std::min(recordType.find('_', start), recordType.size());
        prefix += mixedCase(recordType.substr(start, end - start));
        start = end + 1;
    }
    return prefix;
}

void MibSchema::checkDescriptors(const std::vector<MibTable>& tables) {
    std::set<std::string> seen;
    auto check = [&](const std::string& name) {
        if (!isDescriptor(name)) throw std::logic_error("'" + name + "' is not a valid descriptor");
        if (!seen.insert(name).second)
            throw std::logic_error("descriptor '" + name + "' is defined twice");
    };
    for (const MibTable& table : tables) {
        check(table.tableDescriptor());
        check(table.entryDescriptor());
        check(table.prefix + "Group");
        check(table.indexDescriptor());
        for (const MibColumn& column : table.columns) check(column.descriptor);
    }
}

const std::vector<MibTable>& MibSchema::tables() {
    static const std::vector<MibTable> tables = buildTables();
    return tables;
}

const MibTable* MibSchema::find(int classId) {
    for (const MibTable& table : tables())
        if (table.info->id == classId) return &table;
    return nullptr;
}

}  // namespace nvx4::agent
