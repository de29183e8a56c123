// Feeds arbitrary texts to the packet search's pattern reading. A hex text
// that reads must give one byte per token, and the bytes written back as hex
// must read to the same pattern; a string search takes the text as it is.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "views/packet_search.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

bool isBlank(char c) { return c == ' '; }

std::size_t tokenCount(std::string_view text) {
  std::size_t count = 0;
  bool inToken = false;
  for (const char c : text) {
    if (!isBlank(c) && !inToken) ++count;
    inToken = !isBlank(c);
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const auto asString = qv::searchPatternBytes(text, qv::SearchMode::kString);
  check(asString && asString->size() == size);

  const auto asHex = qv::searchPatternBytes(text, qv::SearchMode::kHex);
  if (!asHex) return 0;
  check(asHex->size() <= (size + 1) / 2);
  check(asHex->size() == tokenCount(text));

  static constexpr char kDigits[] = "0123456789abcdef";
  std::string written;
  for (const std::uint8_t byte : *asHex) {
    if (!written.empty()) written += ' ';
    written += kDigits[byte >> 4];
    written += kDigits[byte & 0xF];
  }
  const auto reread = qv::searchPatternBytes(written, qv::SearchMode::kHex);
  check(reread && *reread == *asHex);
  return 0;
}
