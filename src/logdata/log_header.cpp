#include "logdata/log_header.h"

#include <cstdio>
#include <cstring>

#include "logdata/number_text.h"

namespace qv {
namespace {

constexpr std::size_t kHeaderLength = 72;
constexpr std::size_t kTabPositions[] = {8, 17, 26, 35, 44, 61};

}  // namespace

std::string logHeaderLine(std::string_view formatTag, std::uint32_t recordCount, std::uint32_t newestPosition) {
  char numbers[80];
  std::snprintf(numbers, sizeof numbers, "\tFFFFFFFF\t00000000\t%08X\t%08X\t00000000%08X\tFFFFFFFF\r\n",
                static_cast<unsigned>(recordCount), static_cast<unsigned>(newestPosition),
                static_cast<unsigned>(recordCount));
  std::string line(formatTag.substr(0, 8));
  line += numbers;
  return line;
}

LogHeader readLogHeader(std::string_view bytes, std::string_view formatTag) {
  LogHeader header;
  // The header is read as text up to the first NUL, so a NUL inside it makes it short.
  if (bytes.size() < kHeaderLength || std::memchr(bytes.data(), '\0', kHeaderLength) != nullptr) return header;
  if (bytes.substr(0, 8) != formatTag) return header;
  for (const std::size_t tab : kTabPositions) {
    if (bytes[tab] != '\t') return header;
  }
  if (bytes[70] != '\r' || bytes[71] != '\n') return header;

  const std::string_view count = bytes.substr(27, 8);
  if (count == "00000000" || !isHex(count)) {
    header.status = LogParseStatus::kNoRecords;
    return header;
  }
  const std::string_view newest = bytes.substr(36, 8);
  if (!isHex(newest)) return header;
  header.recordCount = hexValue(count);
  // "00000000" gives -1 (none known); the wrap of larger values is harmless,
  // ring order treats every negative index alike.
  header.newestIndex = static_cast<std::int32_t>(hexValue(newest) - 1u);

  // The first CR LF ends the header line; it may come before offset 70 when a
  // reserved field holds one.
  std::size_t crlf = 0;
  while (!(bytes[crlf] == '\r' && bytes[crlf + 1] == '\n')) ++crlf;  // found by offset 70 at the latest
  header.firstLine = crlf + 2;
  header.status = LogParseStatus::kOk;
  return header;
}

}  // namespace qv
