#include "SocketErrorText.h"

#include <netdb.h>
#include <cerrno>

namespace {

const char* KnownText(int code) {
  switch (code) {
    case 10004:
      return "The (blocking) call was canceled through WSACancelBlockingCall. ";
    case 10014:
      return "The lpWSAData is not a valid pointer.";
    case 10022:
      return "The socket has not been bound with bind. ";
    case 10024:
      return "No more socket descriptors are available. ";
    case 10035:
      return "The socket is marked as nonblocking.  The operation would block. ";
    case 10036:
      return "A blocking Windows Sockets 1.1 operation is in progress. ";
    case 10038:
      return "The descriptor is not a socket. ";
    case 10042:
      return "The option is unknown or unsupported. In particular, SO_BROADCAST is not supported "
             "on sockets of type SOCK_STREAM, while SO_DONTLINGER, SO_KEEPALIVE, SO_LINGER, and "
             "SO_OOBINLINE are not supported on sockets of type SOCK_DGRAM.";
    case 10045:
      return "The referenced socket is not of a type that supports the listen operation. ";
    case 10048:
      return "An attempt has been made to listen on an address in use. ";
    case 10049:
      return "The requested address is not valid in its context. Normally results from an "
             "attempt to bind to an address that is not valid for the local machine, or "
             "connect/sendto an address or port that is not valid for a remote machine (e.g. "
             "port 0). ";
    case 10050:
      return "The network subsystem has failed. ";
    case 10054:
      return "The virtual circuit was reset by the remote side. i.e. The client connection "
             "probably shutdown.";
    case 10055:
      return "No buffer space is available. ";
    case 10056:
      return "The socket is already connected. ";
    case 10067:
      return "Limit on the number of tasks supported by the Windows Sockets implementation has "
             "been reached. ";
    case 10091:
      return "Indicates that the underlying network subsystem is not ready for network "
             "communication. ";
    case 10092:
      return "The version of Windows Sockets support requested is not provided by this "
             "particular Windows Sockets implementation. ";
    case 10093:
      return "A successful WSAStartup must occur before using this function. ";
    case 11001:
      return "Authoritative Answer Service not found. ";
    case 11002:
      return "Non-Authoritative Service not found, or server failure. ";
    case 11003:
      return "Nonrecoverable errors, the services database is not accessible. ";
    case 11004:
      return "Valid name, no data record of requested type. ";
  }
  return "Unknown Socket error occured.";
}

}  // namespace

QString SocketErrorText(int code) {
  if (code == 0) code = SocketErrorCode(errno);
  return QStringLiteral("%1 (%2)").arg(QString::fromLatin1(KnownText(code))).arg(code);
}

int SocketErrorCode(int errnoValue) {
  switch (errnoValue) {
    case EINTR:
      return 10004;
    case EBADF:
      return 10009;
    case EACCES:
      return 10013;
    case EFAULT:
      return 10014;
    case EINVAL:
      return 10022;
    case EMFILE:
    case ENFILE:
      return 10024;
    case EWOULDBLOCK:
      return 10035;
    case EINPROGRESS:
    case EALREADY:
      return 10036;
    case ENOTSOCK:
      return 10038;
    case EDESTADDRREQ:
      return 10039;
    case EMSGSIZE:
      return 10040;
    case EPROTOTYPE:
      return 10041;
    case ENOPROTOOPT:
      return 10042;
    case EPROTONOSUPPORT:
      return 10043;
    case ESOCKTNOSUPPORT:
      return 10044;
    case EOPNOTSUPP:
      return 10045;
    case EAFNOSUPPORT:
      return 10047;
    case EADDRINUSE:
      return 10048;
    case EADDRNOTAVAIL:
      return 10049;
    case ENETDOWN:
      return 10050;
    case ENETUNREACH:
      return 10051;
    case ENETRESET:
      return 10052;
    case ECONNABORTED:
      return 10053;
    case ECONNRESET:
    case EPIPE:
      return 10054;
    case ENOBUFS:
    case ENOMEM:
      return 10055;
    case EISCONN:
      return 10056;
    case ENOTCONN:
      return 10057;
    case ESHUTDOWN:
      return 10058;
    case ETIMEDOUT:
      return 10060;
    case ECONNREFUSED:
      return 10061;
    case EHOSTDOWN:
      return 10064;
    case EHOSTUNREACH:
      return 10065;
    case EUSERS:
      return 10068;
    case EDQUOT:
      return 10069;
    case ESTALE:
      return 10070;
  }
  // Not a socket error: the errno value itself, which no table code can be taken for.
  return errnoValue;
}

int ResolverErrorCode(int eaiValue) {
  switch (eaiValue) {
    case EAI_NONAME:
      return 11001;
    case EAI_AGAIN:
      return 11002;
    case EAI_FAIL:
      return 11003;
    case EAI_NODATA:
    case EAI_ADDRFAMILY:
      return 11004;
    case EAI_MEMORY:
      return 10055;
    case EAI_FAMILY:
      return 10047;
    case EAI_SOCKTYPE:
      return 10044;
    case EAI_SERVICE:
      return 10109;
    case EAI_SYSTEM:
      return SocketErrorCode(errno);
  }
  return 11003;
}
