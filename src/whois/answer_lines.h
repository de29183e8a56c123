#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qv::whois {

// Collects one server's answer so that every line ends in CR LF, whatever
// line ends the server uses: a line ending in LF gets CR LF, an empty line
// ending in a bare LF vanishes, one ending in CR LF stays as it is. The bytes
// after a block's last LF wait for the next block, so a line split across two
// reads is assembled whole.
class AnswerLines {
 public:
  // One received block; only its bytes up to the first zero byte count.
  void append(std::string_view block);
  // The server closed: a last line without LF is kept, ended like the others.
  void finish();

  const std::string& text() const { return text_; }
  // Bytes waiting for their line's LF.
  std::size_t pendingSize() const { return pending_.size(); }

 private:
  void appendLine(std::string_view line);

  std::string text_;
  std::string pending_;
};

}  // namespace qv::whois
