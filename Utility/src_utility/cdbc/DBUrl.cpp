#include "DBUrl.h"

#include "CDBC_Exception.h"
#include "ErrorCodes.h"
#include "Trace.h"

namespace {

constexpr char kPassword[] = "password";

// The URL as the trace shows it: a non-empty value of the password property becomes ***, so no
// password reaches a trace file. Properties are told apart as the parser below tells them.
std::string maskPassword(const std::string& url) {
    const auto colon = url.find(':');
    const auto slashes = colon == std::string::npos ? colon : url.find("//", colon + 1);
    if (slashes == std::string::npos) return url;
    std::string shown = url.substr(0, slashes + 2);
    for (auto start = slashes + 2;;) {
        const auto comma = url.find(',', start);
        std::string property =
            url.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const auto equals = property.find('=');
        if (equals != std::string::npos && property.compare(0, equals, kPassword) == 0 &&
            equals + 1 < property.size())
            property.replace(equals + 1, std::string::npos, "***");
        shown += property;
        if (comma == std::string::npos) return shown;
        shown += ',';
        start = comma + 1;
    }
}

}  // namespace

DBUrl::DBUrl(std::string url) {
    fileTrace(3, __FILE__, __LINE__, "url is %s", maskPassword(url).c_str());
    const auto colon = url.find(':');
    if (colon == std::string::npos)
        throw CDBC_Exception(__FILE__, __LINE__, CDBC_UNDEFINED_DRIVER, "undefine driver name");
    if (colon + 1 == url.size())
        throw CDBC_Exception(__FILE__, __LINE__, CDBC_UNDEFINED_DATABASE, "undefine database name");
    driverName = url.substr(0, colon);
    const auto slashes = url.find("//", colon + 1);
    if (slashes == std::string::npos) {
        databaseName = url.substr(colon + 1);
        return;
    }
    databaseName = url.substr(colon + 1, slashes - colon - 1);
    parseProperties(url, slashes + 2);
}

void DBUrl::parseProperties(const std::string& url, std::string::size_type start) {
    for (;;) {
        const auto comma = url.find(',', start);
        const std::string property =
            url.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const auto equals = property.find('=');
        if (equals == std::string::npos)
            properties[property] = property;
        else
            properties[property.substr(0, equals)] = property.substr(equals + 1);
        if (comma == std::string::npos) return;
        start = comma + 1;
    }
}

std::string DBUrl::getDriverName() const { return driverName; }

std::string DBUrl::getDatabaseName() const { return databaseName; }

std::string DBUrl::getProperty(const std::string& key) const { return properties[key]; }
