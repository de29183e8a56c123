#include "platform/tcp_connection.h"

#include "platform/system_error.h"

#include <algorithm>
#include <cerrno>
#include <memory>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#ifdef _MSC_VER
#pragma comment(lib, "ws2_32.lib")
#endif
#else
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace qv::platform {

namespace {

using Clock = std::chrono::steady_clock;

// The few socket calls that differ between Winsock and POSIX.
#ifdef _WIN32
using NativeSocket = SOCKET;
constexpr int kSendFlags = 0;

bool startSockets() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}
NativeSocket native(std::intptr_t socket) { return static_cast<NativeSocket>(socket); }
bool isValid(NativeSocket socket) { return socket != INVALID_SOCKET; }
int lastSocketError() { return WSAGetLastError(); }
bool wouldBlock(int error) { return error == WSAEWOULDBLOCK || error == WSAEINPROGRESS; }
bool interrupted(int error) { return error == WSAEINTR; }
void closeNative(NativeSocket socket) { ::closesocket(socket); }
void makeNonBlocking(NativeSocket socket) {
  u_long on = 1;
  ::ioctlsocket(socket, FIONBIO, &on);
}
NativeSocket openSocket(const addrinfo& address) {
  return ::socket(address.ai_family, address.ai_socktype, address.ai_protocol);
}
int pollOne(pollfd& entry, int milliseconds) { return ::WSAPoll(&entry, 1, milliseconds); }
std::string resolverErrorText(int error) { return systemErrorText(error); }
#else
using NativeSocket = int;
constexpr int kSendFlags = MSG_NOSIGNAL;

bool startSockets() { return true; }
NativeSocket native(std::intptr_t socket) { return static_cast<NativeSocket>(socket); }
bool isValid(NativeSocket socket) { return socket >= 0; }
int lastSocketError() { return errno; }
bool wouldBlock(int error) { return error == EAGAIN || error == EWOULDBLOCK || error == EINPROGRESS; }
bool interrupted(int error) { return error == EINTR; }
void closeNative(NativeSocket socket) { ::close(socket); }
void makeNonBlocking(NativeSocket socket) { ::fcntl(socket, F_SETFL, ::fcntl(socket, F_GETFL) | O_NONBLOCK); }
NativeSocket openSocket(const addrinfo& address) {
  return ::socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC, address.ai_protocol);
}
int pollOne(pollfd& entry, int milliseconds) { return ::poll(&entry, 1, milliseconds); }
std::string resolverErrorText(int error) {
  return error == EAI_SYSTEM ? lastSystemErrorText() : std::string(gai_strerror(error));
}
#endif

struct AddressListDeleter {
  void operator()(addrinfo* list) const { freeaddrinfo(list); }
};

int remainingMilliseconds(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 1 << 30));
}

// 1 ready, 0 timed out, -1 failed (the socket error set).
int waitFor(NativeSocket socket, short events, Clock::time_point deadline) {
  while (true) {
    pollfd entry{};
    entry.fd = socket;
    entry.events = events;
    const int result = pollOne(entry, remainingMilliseconds(deadline));
    if (result < 0 && interrupted(lastSocketError())) continue;
    return result;
  }
}

TcpConnection::Result failure(TcpConnection::Status status, std::string text) {
  return TcpConnection::Result{status, 0, std::move(text)};
}

}  // namespace

TcpConnection::Result TcpConnection::connect(std::string_view host, std::uint16_t port,
                                             std::chrono::milliseconds timeout) {
  close();
  if (!startSockets()) return failure(Status::kCreateFailed, systemErrorText(lastSocketError()));
  const Clock::time_point deadline = Clock::now() + timeout;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const std::string hostText(host);
  const std::string portText = std::to_string(port);
  if (const int error = ::getaddrinfo(hostText.c_str(), portText.c_str(), &hints, &found); error != 0) {
    return failure(Status::kConnectFailed, resolverErrorText(error));
  }
  const std::unique_ptr<addrinfo, AddressListDeleter> addresses(found);
  Result last = failure(Status::kConnectFailed, "no address");
  for (const addrinfo* address = addresses.get(); address != nullptr; address = address->ai_next) {
    const NativeSocket candidate = openSocket(*address);
    if (!isValid(candidate)) {
      last = failure(Status::kCreateFailed, systemErrorText(lastSocketError()));
      continue;
    }
    makeNonBlocking(candidate);
    int error = 0;
    if (::connect(candidate, address->ai_addr, static_cast<socklen_t>(address->ai_addrlen)) != 0) {
      error = lastSocketError();
      if (wouldBlock(error)) {
        const int ready = waitFor(candidate, POLLOUT, deadline);
        if (ready == 0) {
          closeNative(candidate);
          return failure(Status::kTimedOut, {});
        }
        socklen_t length = sizeof error;
        if (ready < 0) {
          error = lastSocketError();
        } else if (::getsockopt(candidate, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0) {
          error = lastSocketError();
        }
      }
    }
    if (error == 0) {
      socket_ = static_cast<std::intptr_t>(candidate);
      return Result{};
    }
    closeNative(candidate);
    last = failure(Status::kConnectFailed, systemErrorText(error));
  }
  return last;
}

TcpConnection::Result TcpConnection::send(std::string_view bytes, std::chrono::milliseconds timeout) {
  const NativeSocket socket = native(socket_);
  while (!bytes.empty()) {
    const int chunk = static_cast<int>(std::min<std::size_t>(bytes.size(), 1 << 20));
    const auto sent = ::send(socket, bytes.data(), chunk, kSendFlags);
    if (sent >= 0) {
      bytes.remove_prefix(static_cast<std::size_t>(sent));
      continue;
    }
    const int error = lastSocketError();
    if (interrupted(error)) continue;
    if (!wouldBlock(error)) return failure(Status::kFailed, systemErrorText(error));
    const int ready = waitFor(socket, POLLOUT, Clock::now() + timeout);
    if (ready == 0) return failure(Status::kTimedOut, {});
    if (ready < 0) return failure(Status::kFailed, systemErrorText(lastSocketError()));
  }
  return Result{};
}

TcpConnection::Result TcpConnection::receive(std::span<char> buffer, std::chrono::milliseconds timeout) {
  const NativeSocket socket = native(socket_);
  const Clock::time_point deadline = Clock::now() + timeout;
  const int capacity = static_cast<int>(std::min<std::size_t>(buffer.size(), 1 << 20));
  while (true) {
    const auto received = ::recv(socket, buffer.data(), capacity, 0);
    if (received > 0) return Result{Status::kOk, static_cast<std::size_t>(received), {}};
    if (received == 0) return failure(Status::kClosed, {});
    const int error = lastSocketError();
    if (interrupted(error)) continue;
    if (!wouldBlock(error)) return failure(Status::kFailed, systemErrorText(error));
    const int ready = waitFor(socket, POLLIN, deadline);
    if (ready == 0) return failure(Status::kTimedOut, {});
    if (ready < 0) return failure(Status::kFailed, systemErrorText(lastSocketError()));
  }
}

void TcpConnection::close() {
  if (socket_ != kNoSocket) closeNative(native(socket_));
  socket_ = kNoSocket;
}

}  // namespace qv::platform
