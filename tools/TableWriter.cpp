#include "TableWriter.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace nvx4::tool {
namespace {

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

void writePadded(std::ostream& out, const std::string& text, size_t width, bool last) {
    out << text;
    if (!last) out << std::string(width - text.size() + 2, ' ');
}

}  // namespace

void writeText(std::ostream& out, const RecordTable& table) {
    if (!table.title.empty())
        out << table.title << '\n';
    else
        out << table.info->id << ' ' << table.info->repositoryClass << " (" << table.rows.size()
            << (table.rows.size() == 1 ? " record)\n" : " records)\n");
    if (table.rows.empty()) return;
    std::vector<size_t> widths;
    for (const std::string& column : table.columns) widths.push_back(column.size());
    for (const auto& row : table.rows)
        for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].text.size());
    for (size_t c = 0; c < table.columns.size(); ++c)
        writePadded(out, table.columns[c], widths[c], c + 1 == table.columns.size());
    out << '\n';
    for (const auto& row : table.rows) {
        for (size_t c = 0; c < row.size(); ++c)
            writePadded(out, row[c].text, widths[c], c + 1 == row.size());
        out << '\n';
    }
}

void writeCsv(std::ostream& out, const RecordTable& table) {
    for (size_t c = 0; c < table.columns.size(); ++c)
        out << (c ? "," : "") << csvField(table.columns[c]);
    out << '\n';
    for (const auto& row : table.rows) {
        for (size_t c = 0; c < row.size(); ++c) out << (c ? "," : "") << csvField(row[c].text);
        out << '\n';
    }
}

void writeJson(std::ostream& out, const std::vector<RecordTable>& tables) {
    nlohmann::ordered_json all = nlohmann::ordered_json::array();
    for (const RecordTable& table : tables) {
        nlohmann::ordered_json records = nlohmann::ordered_json::array();
        for (const auto& row : table.rows) {
            nlohmann::ordered_json record = nlohmann::ordered_json::object();
            for (size_t c = 0; c < row.size(); ++c) {
                if (row[c].number)
                    record[table.columns[c]] = std::stoll(row[c].text);
                else
                    record[table.columns[c]] = row[c].text;
            }
            records.push_back(std::move(record));
        }
        all.push_back({{"classId", table.info->id},
                       {"class", table.info->repositoryClass},
                       {"record", table.info->recordType},
                       {"records", std::move(records)}});
    }
    // Invalid UTF-8 from the repository is replaced rather than aborting the whole output.
    out << all.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}

}  // namespace nvx4::tool
