#pragma once

// A whois server of the tests' own: one listening socket on 127.0.0.1 per
// registry name, each on a free port, answering every query from a script
// of canned replies. It runs on a thread of its own so that both the
// blocking command-line driver and the Qt event loop can talk to it, and it
// serves one connection at a time, as a query chain needs. Header-only so
// that every test program can use it without a library of its own.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace qv::test {

struct CannedReply {
  enum class Kind {
    // Sends the chunks, pausing between them, then closes.
    kAnswer,
    // Reads the query and never answers; waits until the client gives up.
    kSilent,
    // Sends floodBytes of answer lines, or until the client closes.
    kFlood,
  };
  Kind kind = Kind::kAnswer;
  std::vector<std::string> chunks;
  std::chrono::milliseconds pause{0};
  std::size_t floodBytes = 0;

  static CannedReply answer(std::string text) { return CannedReply{Kind::kAnswer, {std::move(text)}, {}, 0}; }
  static CannedReply inPieces(std::vector<std::string> pieces, std::chrono::milliseconds pause) {
    return CannedReply{Kind::kAnswer, std::move(pieces), pause, 0};
  }
  static CannedReply silent() { return CannedReply{Kind::kSilent, {}, {}, 0}; }
  static CannedReply flood(std::size_t bytes) { return CannedReply{Kind::kFlood, {}, {}, bytes}; }
};

// One received query: the server's name and the bytes that came, CR LF included.
struct ReceivedQuery {
  std::string server;
  std::string bytes;

  friend bool operator==(const ReceivedQuery&, const ReceivedQuery&) = default;
};

class LoopbackWhoisServer {
 public:
  // The reply to one query (the bytes before its CR LF).
  using Script = std::function<CannedReply(const std::string& query)>;

  explicit LoopbackWhoisServer(std::map<std::string, Script> scripts) {
    for (auto& [name, script] : scripts) {
      Listener listener{name, std::move(script), listenOnFreePort(), 0};
      listener.port = portOf(listener.socket);
      listeners_.push_back(std::move(listener));
    }
    thread_ = std::thread([this] { run(); });
  }
  LoopbackWhoisServer(const LoopbackWhoisServer&) = delete;
  LoopbackWhoisServer& operator=(const LoopbackWhoisServer&) = delete;
  ~LoopbackWhoisServer() {
    stop_ = true;
    thread_.join();
    for (const Listener& listener : listeners_) ::close(listener.socket);
  }

  std::uint16_t port(std::string_view name) const { return find(name).port; }
  // "127.0.0.1:PORT", as a server setting or --server value takes it.
  std::string address(std::string_view name) const { return "127.0.0.1:" + std::to_string(port(name)); }

  std::vector<ReceivedQuery> queries() const {
    const std::lock_guard lock(mutex_);
    return queries_;
  }

  // A loopback port nothing listens on: connecting to it is refused.
  static std::uint16_t refusedPort() {
    const int socket = listenOnFreePort();
    const std::uint16_t port = portOf(socket);
    ::close(socket);
    return port;
  }

 private:
  struct Listener {
    std::string name;
    Script script;
    int socket;
    std::uint16_t port;
  };

  static int listenOnFreePort() {
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) throw std::runtime_error("test whois server: no socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(socket, 8) != 0) {
      ::close(socket);
      throw std::runtime_error("test whois server: cannot listen on 127.0.0.1");
    }
    return socket;
  }

  static std::uint16_t portOf(int socket) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
  }

  const Listener& find(std::string_view name) const {
    for (const Listener& listener : listeners_) {
      if (listener.name == name) return listener;
    }
    throw std::out_of_range("test whois server: no server named " + std::string(name));
  }

  // Waits up to a short slice for `events` on `socket`; false once stopping.
  bool waitFor(int socket, short events, bool& ready) const {
    pollfd entry{socket, events, 0};
    ready = ::poll(&entry, 1, 20) > 0;
    return !stop_;
  }

  void run() {
    while (!stop_) {
      std::vector<pollfd> entries;
      for (const Listener& listener : listeners_) entries.push_back(pollfd{listener.socket, POLLIN, 0});
      if (::poll(entries.data(), entries.size(), 20) <= 0) continue;
      for (std::size_t i = 0; i < entries.size(); ++i) {
        if ((entries[i].revents & POLLIN) == 0) continue;
        const int client = ::accept4(listeners_[i].socket, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        serve(listeners_[i], client);
        ::close(client);
      }
    }
  }

  void serve(const Listener& listener, int client) {
    std::string received;
    char buffer[4096];
    bool ready = false;
    while (received.find("\r\n") == std::string::npos) {
      if (!waitFor(client, POLLIN, ready)) return;
      if (!ready) continue;
      const ssize_t count = ::recv(client, buffer, sizeof buffer, 0);
      if (count <= 0) break;
      received.append(buffer, static_cast<std::size_t>(count));
    }
    {
      const std::lock_guard lock(mutex_);
      queries_.push_back(ReceivedQuery{listener.name, received});
    }
    const std::string query = received.substr(0, received.find("\r\n"));
    const CannedReply reply = listener.script(query);
    switch (reply.kind) {
      case CannedReply::Kind::kAnswer:
        for (std::size_t i = 0; i < reply.chunks.size(); ++i) {
          if (i > 0) std::this_thread::sleep_for(reply.pause);
          if (!sendAll(client, reply.chunks[i])) return;
        }
        return;
      case CannedReply::Kind::kSilent:
        while (waitFor(client, POLLIN, ready)) {
          if (ready && ::recv(client, buffer, sizeof buffer, 0) <= 0) return;
        }
        return;
      case CannedReply::Kind::kFlood: {
        const std::string line(79, 'x');
        std::string block;
        while (block.size() < 64 * 1024) block += line + "\n";
        for (std::size_t sent = 0; sent < reply.floodBytes && !stop_; sent += block.size()) {
          if (!sendAll(client, std::string_view(block).substr(0, std::min(block.size(), reply.floodBytes - sent)))) {
            return;
          }
        }
        return;
      }
    }
  }

  bool sendAll(int client, std::string_view bytes) const {
    bool ready = false;
    while (!bytes.empty()) {
      if (!waitFor(client, POLLOUT, ready)) return false;
      if (!ready) continue;
      const ssize_t sent = ::send(client, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
      if (sent < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
        return false;
      }
      bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
  }

  std::vector<Listener> listeners_;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<ReceivedQuery> queries_;
  std::thread thread_;
};

}  // namespace qv::test
