// Stand-in for the Windows SDK's <winsock2.h> on non-Windows builds: start-up and the host-name
// and address look-ups, with Winsock's types and semantics. Look-up results live in storage of
// the calling thread (one result per thread, as in Winsock), valid until its next look-up.
#ifndef NVX4_PLATFORM_WINSOCK2_H
#define NVX4_PLATFORM_WINSOCK2_H

#include <windows.h>

#define WSADESCRIPTION_LEN 256
#define WSASYS_STATUS_LEN 128

#define AF_INET 2
#define INADDR_NONE 0xffffffffUL

#define WSAEFAULT 10014L
#define WSAEINVAL 10022L
#define WSAENETDOWN 10050L
#define WSAVERNOTSUPPORTED 10092L
#define WSANOTINITIALISED 10093L
#define WSAHOST_NOT_FOUND 11001L
#define WSATRY_AGAIN 11002L
#define WSANO_RECOVERY 11003L
#define WSANO_DATA 11004L

typedef std::uintptr_t SOCKET;
#define SOCKET_ERROR (-1)

typedef struct WSAData {
    WORD wVersion;
    WORD wHighVersion;
    char szDescription[WSADESCRIPTION_LEN + 1];
    char szSystemStatus[WSASYS_STATUS_LEN + 1];
    unsigned short iMaxSockets;
    unsigned short iMaxUdpDg;
    char* lpVendorInfo;
} WSADATA, *LPWSADATA;

struct hostent {
    char* h_name;
    char** h_aliases;
    short h_addrtype;
    short h_length;
    char** h_addr_list;
};
#define h_addr h_addr_list[0]

typedef struct hostent HOSTENT;

#ifndef MAKEWORD
#define MAKEWORD(a, b) ((WORD)(((BYTE)(a)) | ((WORD)((BYTE)(b))) << 8))
#endif

extern "C" {
int WINAPI WSAStartup(WORD wVersionRequested, LPWSADATA lpWSAData);
int WINAPI WSACleanup(void);
int WINAPI WSAGetLastError(void);
void WINAPI WSASetLastError(int iError);
}

// These names also exist in the host C library, with other types. Declared with C++ linkage and
// their own link names they neither clash with those declarations nor replace those functions.
int WINAPI gethostname(char* name, int namelen) NVX4_PLATFORM_LINK_NAME(gethostname);
struct hostent* WINAPI gethostbyname(const char* name) NVX4_PLATFORM_LINK_NAME(gethostbyname);
struct hostent* WINAPI gethostbyaddr(const char* addr, int len, int type)
    NVX4_PLATFORM_LINK_NAME(gethostbyaddr);
ULONG WINAPI inet_addr(const char* cp) NVX4_PLATFORM_LINK_NAME(inet_addr);

#endif
