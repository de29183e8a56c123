#include "filter/filter_list_file.h"

#include <array>
#include <cstdint>

#include "platform/atomic_file.h"
#include "platform/input_file.h"

namespace qv {

namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kBinaryPrefixSize = 5;  // flags, remote port, local port
constexpr std::size_t kMinimumFileSize = 18;
constexpr std::size_t kTextFieldCount = 5;
constexpr std::string_view kLineEnd = "\r\n";

std::uint16_t littleEndian16(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

void appendLittleEndian16(std::string& out, std::uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8));
}

bool isStorableText(std::string_view text) noexcept {
  return text.find('\t') == std::string_view::npos && text.find('\0') == std::string_view::npos &&
         text.find(kLineEnd) == std::string_view::npos;
}

}  // namespace

FilterList parseFilterList(std::string_view bytes) {
  FilterList list;
  if (bytes.size() < kMinimumFileSize) return list;
  if (bytes[4] != '\r' || bytes[5] != '\n') return list;

  std::size_t position = kHeaderSize;
  while (position < bytes.size() - 7) {
    FilterEntry entry = blankFilterEntry();
    entry.flags = static_cast<std::uint8_t>(bytes[position]);
    entry.remotePort = littleEndian16(bytes, position + 1);
    entry.localPort = littleEndian16(bytes, position + 3);
    position += kBinaryPrefixSize;

    // The texts end at the first CR LF; a NUL before it ends the file's text.
    const std::string_view rest = bytes.substr(position);
    const std::size_t lineEnd = rest.find(kLineEnd);
    if (lineEnd == std::string_view::npos) break;
    std::string_view line = rest.substr(0, lineEnd);
    if (line.find('\0') != std::string_view::npos) break;

    std::array<std::string_view, kTextFieldCount> fields;
    bool complete = true;
    for (std::string_view& field : fields) {
      const std::size_t tab = line.find('\t');
      if (tab == std::string_view::npos) {
        complete = false;
        break;
      }
      field = line.substr(0, tab);
      line.remove_prefix(tab + 1);
    }
    const auto& [marker, remoteIp, localIp, applicationName, ruleName] = fields;
    if (!complete || !isValidFilterAddress(remoteIp) || !isValidFilterAddress(localIp) ||
        applicationName.size() > kFilterListNameLimit || ruleName.size() > kFilterListNameLimit) {
      break;
    }
    entry.setPortMarker(Text(marker));
    entry.remoteIp = Text(remoteIp);
    entry.localIp = Text(localIp);
    entry.applicationName = Text(applicationName);
    entry.ruleName = Text(ruleName);
    list.append(std::move(entry));
    position += lineEnd + kLineEnd.size();
  }
  return list;
}

bool isStorableFilterEntry(const FilterEntry& entry) noexcept {
  return isValidFilterAddress(entry.remoteIp.text()) && isValidFilterAddress(entry.localIp.text()) &&
         entry.applicationName.size() <= kFilterListNameLimit && entry.ruleName.size() <= kFilterListNameLimit &&
         isStorableText(entry.portMarker()) && isStorableText(entry.applicationName) && isStorableText(entry.ruleName);
}

std::string serializeFilterList(const FilterList& list) {
  std::string out;
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((kFilterListFormatValue >> shift) & 0xFF));
  out.append(kLineEnd);
  for (const FilterEntry& entry : list) {
    if (!isStorableFilterEntry(entry)) continue;
    out.push_back(static_cast<char>(entry.flags));
    appendLittleEndian16(out, entry.remotePort);
    appendLittleEndian16(out, entry.localPort);
    for (const Text& text : {entry.portMarker(), entry.remoteIp.text(), entry.localIp.text(), entry.applicationName.text(),
                             entry.ruleName.text()}) {
      out.append(text.view());
      out.push_back('\t');
    }
    out.append(kLineEnd);
  }
  return out;
}

FilterListFileLoad loadFilterListFile(const std::string& path) {
  FilterListFileLoad result;
  // Others may read but not write while the list is read.
  platform::InputFile file(path, platform::InputFile::Sharing::kOthersMayOnlyRead);
  std::string bytes;
  std::array<char, 64 * 1024> chunk;
  std::int64_t count = 0;
  while (file.isOpen() && (count = file.read(chunk.data(), chunk.size())) > 0) {
    bytes.append(chunk.data(), static_cast<std::size_t>(count));
  }
  if (file.errorNumber() != 0) {
    result.errorNumber = file.errorNumber();
    return result;
  }
  result.list = parseFilterList(bytes);
  return result;
}

platform::FileWriteResult storeFilterListFile(const FilterList& list, const std::string& path) {
  return platform::writeFileAtomically(path, serializeFilterList(list));
}

}  // namespace qv
