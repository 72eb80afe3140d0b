#include "miscellanea.h"

#include <winsock2.h>

#include <cctype>
#include <cstring>

#include "Trace.h"

namespace {

constexpr int kNameBufferSize = 1024;

bool equalsIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b)))
            return false;
    }
    return *a == *b;
}

// The largest number a part of a dotted quad may hold.
constexpr int kMaxQuadPart = 255;

// Reads a decimal number as atoi does (leading white space, optional sign, leading digits), but
// stops accumulating once the number is past kMaxQuadPart: it can no longer be valid, and so no
// integer width of any platform is ever exceeded.
int readQuadPart(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kMaxQuadPart) break;
    }
    return negative ? -value : value;
}

bool isQuadPart(const std::string& part) {
    const int value = readQuadPart(part);
    return value >= 1 && value <= kMaxQuadPart;
}

// Copies at most size - 1 characters and always terminates.
void copyName(char* target, const char* source, size_t size) {
    std::strncpy(target, source ? source : "", size - 1);
    target[size - 1] = '\0';
}

bool matchesByAddress(const std::string& host, const char* canonicalName) {
    const ULONG address = inet_addr(host.c_str());
    const hostent* found =
        gethostbyaddr(reinterpret_cast<const char*>(&address), sizeof address, AF_INET);
    if (found == nullptr) {
        fileTrace(1, __FILE__, __LINE__, "gethostname err %d", WSAGetLastError());
        return false;
    }
    return equalsIgnoringCase(found->h_name, canonicalName);
}

}  // namespace

bool isDottedQuad(const std::string& text) {
    const auto first = text.find('.');
    if (first == std::string::npos) return false;
    const auto second = text.find('.', first + 1);
    if (second == std::string::npos) return false;
    const auto third = text.find('.', second + 1);
    if (third == std::string::npos) return false;
    return isQuadPart(text.substr(0, first)) &&
           isQuadPart(text.substr(first + 1, second - first - 1)) &&
           isQuadPart(text.substr(second + 1, third - second - 1)) &&
           isQuadPart(text.substr(third + 1));
}

bool isLocalHost(const std::string& host) {
    if (host == "127.0.0.1") return true;
    if (equalsIgnoringCase(host.c_str(), "localhost")) return true;

    WSADATA data;
    WSAStartup(0x0202, &data);  // deliberately left started: lookups may follow on this thread

    char machineName[kNameBufferSize] = {};
    const int rc = gethostname(machineName, kNameBufferSize);
    if (rc != 0) {
        fileTrace(1, __FILE__, __LINE__, "gethostname err[%d]", rc);
        return false;
    }
    machineName[kNameBufferSize - 1] = '\0';

    const hostent* local = gethostbyname("localhost");
    if (local == nullptr) {
        fileTrace(1, __FILE__, __LINE__, "gethostbyname err[%d]", WSAGetLastError());
        return false;
    }
    char canonicalName[kNameBufferSize];
    copyName(canonicalName, local->h_name, sizeof canonicalName);

    if (!isDottedQuad(host))
        return equalsIgnoringCase(host.c_str(), machineName) ||
               equalsIgnoringCase(host.c_str(), canonicalName);
    return matchesByAddress(host, canonicalName);
}
