#pragma once

#include <QString>

// Socket failures are reported with the Windows Sockets codes and texts users of the
// program know.

// The text of a socket error code followed by " (<code>)"; 0 stands for the calling
// thread's last error (errno).
QString SocketErrorText(int code);
// The socket error code of a POSIX errno value.
int SocketErrorCode(int errnoValue);
// The socket error code of a getaddrinfo result (EAI_*; EAI_SYSTEM reads errno).
int ResolverErrorCode(int eaiValue);
