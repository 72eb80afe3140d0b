// A UDP port on 127.0.0.1 that nothing uses now, for the servers the tests start (some of them
// start quietly on a port in use, so the fixture asks first).
#ifndef NVX4_TEST_FREEPORT_H
#define NVX4_TEST_FREEPORT_H

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace nvx4::test {

inline int freeUdpPort() {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    const bool found = fd >= 0 &&
                       bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                       getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    if (fd >= 0) close(fd);
    if (!found) throw std::runtime_error("no free UDP port");
    return ntohs(address.sin_port);
}

}  // namespace nvx4::test

#endif
