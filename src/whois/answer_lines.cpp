#include "whois/answer_lines.h"

namespace qv::whois {

void AnswerLines::append(std::string_view block) {
  if (const std::size_t zero = block.find('\0'); zero != std::string_view::npos) block = block.substr(0, zero);
  std::size_t start = 0;
  while (true) {
    const std::size_t lf = block.find('\n', start);
    if (lf == std::string_view::npos) break;
    const std::string_view piece = block.substr(start, lf - start);
    if (pending_.empty()) {
      appendLine(piece);
    } else {
      pending_.append(piece);
      appendLine(pending_);
      pending_.clear();
    }
    start = lf + 1;
  }
  pending_.append(block.substr(start));
}

void AnswerLines::finish() {
  if (pending_.empty()) return;
  appendLine(pending_);
  pending_.clear();
}

// `line` is everything before its LF.
void AnswerLines::appendLine(std::string_view line) {
  if (line.empty()) return;
  if (line.back() == '\r') {
    text_.append(line);
    text_.push_back('\n');
  } else {
    text_.append(line);
    text_.append("\r\n");
  }
}

}  // namespace qv::whois
