#include "platform/tcp_connection.h"

#include "platform/system_error.h"

#include <algorithm>
#include <cerrno>
#include <memory>

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

namespace qv::platform {

namespace {

using Clock = std::chrono::steady_clock;

struct AddressListDeleter {
  void operator()(addrinfo* list) const { freeaddrinfo(list); }
};

int remainingMilliseconds(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 1 << 30));
}

// 1 ready, 0 timed out, -1 failed (errno set).
int waitFor(int socket, short events, Clock::time_point deadline) {
  while (true) {
    pollfd entry{socket, events, 0};
    const int result = ::poll(&entry, 1, remainingMilliseconds(deadline));
    if (result < 0 && errno == EINTR) continue;
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
  const Clock::time_point deadline = Clock::now() + timeout;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const std::string hostText(host);
  const std::string portText = std::to_string(port);
  if (const int error = ::getaddrinfo(hostText.c_str(), portText.c_str(), &hints, &found); error != 0) {
    return failure(Status::kConnectFailed, error == EAI_SYSTEM ? lastSystemErrorText() : gai_strerror(error));
  }
  const std::unique_ptr<addrinfo, AddressListDeleter> addresses(found);
  Result last = failure(Status::kConnectFailed, systemErrorText(ECONNREFUSED));
  for (const addrinfo* address = addresses.get(); address != nullptr; address = address->ai_next) {
    const int candidate = ::socket(address->ai_family, address->ai_socktype | SOCK_CLOEXEC, address->ai_protocol);
    if (candidate < 0) {
      last = failure(Status::kCreateFailed, lastSystemErrorText());
      continue;
    }
    ::fcntl(candidate, F_SETFL, ::fcntl(candidate, F_GETFL) | O_NONBLOCK);
    int error = 0;
    if (::connect(candidate, address->ai_addr, address->ai_addrlen) != 0) {
      error = errno;
      if (error == EINPROGRESS) {
        const int ready = waitFor(candidate, POLLOUT, deadline);
        if (ready == 0) {
          ::close(candidate);
          return failure(Status::kTimedOut, {});
        }
        socklen_t length = sizeof error;
        if (ready < 0) {
          error = errno;
        } else if (::getsockopt(candidate, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
          error = errno;
        }
      }
    }
    if (error == 0) {
      socket_ = candidate;
      return Result{};
    }
    ::close(candidate);
    last = failure(Status::kConnectFailed, systemErrorText(error));
  }
  return last;
}

TcpConnection::Result TcpConnection::send(std::string_view bytes, std::chrono::milliseconds timeout) {
  while (!bytes.empty()) {
    const ssize_t sent = ::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent >= 0) {
      bytes.remove_prefix(static_cast<std::size_t>(sent));
      continue;
    }
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return failure(Status::kFailed, lastSystemErrorText());
    const int ready = waitFor(socket_, POLLOUT, Clock::now() + timeout);
    if (ready == 0) return failure(Status::kTimedOut, {});
    if (ready < 0) return failure(Status::kFailed, lastSystemErrorText());
  }
  return Result{};
}

TcpConnection::Result TcpConnection::receive(std::span<char> buffer, std::chrono::milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  while (true) {
    const ssize_t received = ::recv(socket_, buffer.data(), buffer.size(), 0);
    if (received > 0) return Result{Status::kOk, static_cast<std::size_t>(received), {}};
    if (received == 0) return failure(Status::kClosed, {});
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return failure(Status::kFailed, lastSystemErrorText());
    const int ready = waitFor(socket_, POLLIN, deadline);
    if (ready == 0) return failure(Status::kTimedOut, {});
    if (ready < 0) return failure(Status::kFailed, lastSystemErrorText());
  }
}

void TcpConnection::close() {
  if (socket_ >= 0) ::close(socket_);
  socket_ = -1;
}

}  // namespace qv::platform
