#pragma once
// The few socket calls the router code makes, as each system has them: POSIX sockets, or
// Winsock on Windows (started on first use; ENet may have started it already).
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>

using Socket = SOCKET;
#define MSG_NOSIGNAL 0

inline Socket openSocket(int type, bool nonblocking)
{
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started)
        return INVALID_SOCKET;
    const Socket s = socket(AF_INET, type, 0);
    u_long on = 1;
    if (s != INVALID_SOCKET && nonblocking)
        ioctlsocket(s, FIONBIO, &on);
    return s;
}
inline bool badSocket(Socket s) { return s == INVALID_SOCKET; }
inline void closeSocket(Socket s) { closesocket(s); }
inline int poll(pollfd* p, unsigned long count, int ms) { return WSAPoll(p, count, ms); }
// A non-blocking connect() that goes on in the background.
inline bool connecting() { return WSAGetLastError() == WSAEWOULDBLOCK; }
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

using Socket = int;

inline Socket openSocket(int type, bool nonblocking)
{
    return socket(AF_INET, type | SOCK_CLOEXEC | (nonblocking ? SOCK_NONBLOCK : 0), 0);
}
inline bool badSocket(Socket s) { return s < 0; }
inline void closeSocket(Socket s) { close(s); }
inline bool connecting() { return errno == EINPROGRESS; }
#endif
