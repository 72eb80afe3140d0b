#include "TableHandler.h"

// clang-format off
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/agent/net-snmp-agent-includes.h>
// clang-format on

#include <algorithm>

#include "CellAddress.h"
#include "CellValue.h"

namespace nvx4::agent {
namespace {

constexpr size_t kMaxText = 65535;

void setValue(netsnmp_variable_list* variable, const CellValue& value) {
    if (value.isInteger) {
        snmp_set_var_typed_integer(variable, ASN_INTEGER, value.integer);
        return;
    }
    snmp_set_var_typed_value(variable, ASN_OCTET_STR, value.text.data(),
                             std::min(value.text.size(), kMaxText));
}

}  // namespace

TableHandler::TableHandler(const MibTable& table, TableSnapshot& snapshot, const ObjectId& base)
    : table_(table), snapshot_(snapshot), root_(base) {
    root_.push_back(1);
    root_.push_back(table.subId());
}

bool TableHandler::registerWithAgent() {
    netsnmp_handler_registration* registration =
        netsnmp_create_handler_registration(table_.tableDescriptor().c_str(), &TableHandler::handle,
                                            root_.data(), root_.size(), HANDLER_CAN_RONLY);
    if (registration == nullptr) return false;
    registration->handler->myvoid = this;
    return netsnmp_register_handler(registration) == MIB_REGISTERED_OK;
}

int TableHandler::handle(netsnmp_mib_handler* handler, netsnmp_handler_registration*,
                         netsnmp_agent_request_info* info, netsnmp_request_info* requests) {
    const auto* self = static_cast<const TableHandler*>(handler->myvoid);
    if (info->mode != MODE_GET && info->mode != MODE_GETNEXT) return SNMP_ERR_NOERROR;
    self->snapshot_.refresh(TableSnapshot::Clock::now());
    for (netsnmp_request_info* request = requests; request != nullptr; request = request->next)
        if (!request->processed) self->answer(info->mode, info, request);
    return SNMP_ERR_NOERROR;
}

void TableHandler::answer(int mode, netsnmp_agent_request_info* info,
                          netsnmp_request_info* request) const {
    netsnmp_variable_list* variable = request->requestvb;
    const CellAddress address(MibSchema::kIndexColumn + 1,
                              MibSchema::kIndexColumn + table_.columns.size(),
                              static_cast<unsigned long>(std::max(snapshot_.count(), 0)));
    const bool inside = netsnmp_oid_is_subtree(root_.data(), root_.size(), variable->name,
                                               variable->name_length) == 0;
    const oid* suffix = inside ? variable->name + root_.size() : nullptr;
    const size_t suffixLength = inside ? variable->name_length - root_.size() : 0;
    std::optional<Cell> cell;
    if (mode == MODE_GET) {
        cell = address.exact(suffix, suffixLength);
        if (!cell) {
            netsnmp_set_request_error(info, request, SNMP_NOSUCHINSTANCE);
            return;
        }
    } else {
        // An identifier before the table starts it; one after it is not ours to answer.
        if (!inside &&
            snmp_oid_compare(variable->name, variable->name_length, root_.data(), root_.size()) > 0)
            return;
        cell = address.after(suffix, suffixLength);
        if (!cell) return;  // the library carries on with the next subtree
        ObjectId name = root_;
        name.insert(name.end(), {1, cell->column, cell->row});
        snmp_set_var_objid(variable, name.data(), name.size());
    }
    setValue(variable, cellValue(table_.info->id, snapshot_.instances(), cell->row - 1,
                                 cell->column - MibSchema::kIndexColumn - 1));
}

}  // namespace nvx4::agent
