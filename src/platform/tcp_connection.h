#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qv::platform {

// A blocking TCP client connection in which every wait has a bound, for
// command-line tools that talk to one server at a time.
class TcpConnection {
 public:
  enum class Status : std::uint8_t {
    kOk,
    // No socket could be created.
    kCreateFailed,
    // The host could not be resolved, or no address accepted the connection.
    kConnectFailed,
    // Nothing happened within the bound.
    kTimedOut,
    // The peer closed the connection (receive only).
    kClosed,
    // Sending or receiving failed.
    kFailed,
  };

  struct Result {
    Status status = Status::kOk;
    // Bytes received (receive only).
    std::size_t size = 0;
    // The system's text for a failure.
    std::string errorText;
  };

  TcpConnection() = default;
  TcpConnection(const TcpConnection&) = delete;
  TcpConnection& operator=(const TcpConnection&) = delete;
  ~TcpConnection() { close(); }

  // Closes any previous connection first. `timeout` bounds the whole
  // attempt, over every address the host resolves to.
  Result connect(std::string_view host, std::uint16_t port, std::chrono::milliseconds timeout);
  // All of `bytes`; `timeout` bounds each wait for the socket to take more.
  Result send(std::string_view bytes, std::chrono::milliseconds timeout);
  // At most buffer.size() bytes, once some arrived within `timeout`.
  Result receive(std::span<char> buffer, std::chrono::milliseconds timeout);
  void close();

 private:
  // The native socket (a descriptor here, a SOCKET on Windows).
  static constexpr std::intptr_t kNoSocket = -1;
  std::intptr_t socket_ = kNoSocket;
};

}  // namespace qv::platform
