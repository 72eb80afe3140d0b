#include "ColumnDescriptions.h"

#include <set>
#include <sstream>
#include <stdexcept>

namespace nvx4::agent {

// The text of column-descriptions.txt, generated into the build folder.
extern const char kColumnDescriptionsText[];

namespace {

constexpr const char kEveryClass[] = "*";

// SMI descriptions are quoted ASCII text: no double quote inside, nothing unprintable.
bool isDescriptionText(const std::string& text) {
    for (char c : text)
        if (c < ' ' || c > '~' || c == '"') return false;
    return true;
}

}  // namespace

ColumnDescriptions::ColumnDescriptions(const std::string& table) {
    std::istringstream lines(table);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (line.empty() || line[0] == '#') continue;
        const auto fail = [&](const std::string& why) {
            throw std::invalid_argument("column descriptions, line " + std::to_string(number) +
                                        ": " + why);
        };
        const size_t space = line.find(' ');
        const std::string key = line.substr(0, space);
        const size_t dot = key.find('.');
        if (dot == 0 || dot == std::string::npos || dot + 1 == key.size())
            fail("'" + key + "' is not CLASS.Property");
        const size_t start = line.find_first_not_of(' ', space);
        if (space == std::string::npos || start == std::string::npos)
            fail(key + " has no description");
        const std::string text = line.substr(start);
        if (!isDescriptionText(text))
            fail(key + " holds a double quote or a character outside printable ASCII");
        if (!entries_.emplace(Key(key.substr(0, dot), key.substr(dot + 1)), text).second)
            fail(key + " is described twice");
    }
}

const ColumnDescriptions& ColumnDescriptions::builtIn() {
    static const ColumnDescriptions descriptions(kColumnDescriptionsText);
    return descriptions;
}

const ColumnDescriptions::Entry* ColumnDescriptions::find(const std::string& className,
                                                          const std::string& property) const {
    for (const char* owner : {className.c_str(), kEveryClass}) {
        const auto entry = entries_.find(Key(owner, property));
        if (entry != entries_.end()) return &*entry;
    }
    return nullptr;
}

const std::string& ColumnDescriptions::describe(const std::string& className,
                                                const std::string& property) const {
    if (const Entry* entry = find(className, property)) return entry->second;
    throw std::logic_error("column " + property + " of class " + className + " has no description");
}

void ColumnDescriptions::checkCovers(const std::vector<MibTable>& tables) const {
    std::string faults;
    std::set<Key> used;
    for (const MibTable& table : tables) {
        const std::string className = table.info->repositoryClass;
        for (const MibColumn& column : table.columns) {
            if (const Entry* entry = find(className, column.property))
                used.insert(entry->first);
            else
                faults += "\n  column " + std::string(column.property) + " of class " + className +
                          " has no description";
        }
    }
    for (const auto& [key, text] : entries_)
        if (used.count(key) == 0)
            faults += "\n  " + key.first + "." + key.second + " describes no column";
    if (!faults.empty()) throw std::logic_error("column descriptions do not fit the MIB:" + faults);
}

}  // namespace nvx4::agent
