// Serves one MIB table to the agent library from its snapshot: GET of a cell, GETNEXT to the
// following cell (GETBULK is GETNEXT repeated by the library). Read-only.
#ifndef NVX4_AGENT_TABLE_HANDLER_H
#define NVX4_AGENT_TABLE_HANDLER_H

#include "MibSchema.h"
#include "ObjectId.h"
#include "TableSnapshot.h"

// The agent library's request types (net-snmp/agent/agent_handler.h, snmp_agent.h).
struct netsnmp_mib_handler_s;
struct netsnmp_handler_registration_s;
struct netsnmp_agent_request_info_s;
struct netsnmp_request_info_s;

namespace nvx4::agent {

class TableHandler {
  public:
    TableHandler(const MibTable& table, TableSnapshot& snapshot, const ObjectId& base);
    TableHandler(const TableHandler&) = delete;
    TableHandler& operator=(const TableHandler&) = delete;

    // Registers the table's subtree (base.1.<class id>) with the agent library. Returns false
    // when the library refuses it.
    bool registerWithAgent();

  private:
    static int handle(::netsnmp_mib_handler_s* handler,
                      ::netsnmp_handler_registration_s* registration,
                      ::netsnmp_agent_request_info_s* info, ::netsnmp_request_info_s* requests);
    void answer(int mode, ::netsnmp_agent_request_info_s* info,
                ::netsnmp_request_info_s* request) const;

    const MibTable& table_;
    TableSnapshot& snapshot_;
    ObjectId root_;
};

}  // namespace nvx4::agent

#endif
