// Object identifiers as dotted text and as sub-identifier lists.
#ifndef NVX4_AGENT_OBJECT_ID_H
#define NVX4_AGENT_OBJECT_ID_H

#include <string>
#include <vector>

namespace nvx4::agent {

using ObjectId = std::vector<unsigned long>;

// Where the MIB lives unless a site moves it: net-snmp's playpen for local experiments.
inline constexpr const char kDefaultBaseOid[] = "1.3.6.1.4.1.8072.9999.9999";

// "1.3.6.1" (a leading dot is accepted). Raises std::invalid_argument for an empty text, a
// non-numeric or empty sub-identifier, one above 4294967295, fewer than two sub-identifiers or
// more than 128.
ObjectId parseObjectId(const std::string& text);

std::string formatObjectId(const ObjectId& oid);

}  // namespace nvx4::agent

#endif
