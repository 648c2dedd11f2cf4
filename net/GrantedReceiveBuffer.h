// GrantedReceiveBuffer.h: how much a socket's receive buffer really holds.
#pragma once

#include <winsock2.h>

namespace net {

// The receive buffer the system holds for the socket, in bytes; 0 when it
// cannot be read. Under Wine, Winsock answers the size that was asked for,
// while the Linux kernel grants at most twice its net.core.rmem_max; there
// that cap is read from the kernel and applied.
int GrantedReceiveBuffer(SOCKET socket);

}  // namespace net
