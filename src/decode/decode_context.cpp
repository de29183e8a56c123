#include "decode/decode_context.h"

#include <algorithm>
#include <utility>

#include "decode/field_text.h"

namespace qv {

DecodeContext::DecodeContext(std::span<const std::uint8_t> frame, VendorLookup vendorLookup)
    : vendorLookup_(std::move(vendorLookup)) {
  frameCopy_.reserve(frame.size() + 1);
  frameCopy_.assign(frame.begin(), frame.end());
  frameCopy_.push_back(0);
  workingLength_ = static_cast<std::uint32_t>(std::min<std::size_t>(frame.size(), 0xFFFFFFFFu));
}

void DecodeContext::shortenWorkingLength(std::uint32_t length) noexcept {
  if (length < workingLength_) workingLength_ = length;
}

void DecodeContext::showPayload(FrameOffset start) {
  if (start >= workingLength_) return;
  const auto bytes = std::span(frameCopy_).subspan(start, workingLength_ - start);
  std::string& text = result_.payloadText;
  text.resize(bytes.size());
  std::transform(bytes.begin(), bytes.end(), text.begin(),
                 [](std::uint8_t byte) { return byte == 0 ? '.' : static_cast<char>(byte); });
  result_.payloadBase = start;
}

void DecodeContext::fillHexPane() { result_.hexText = hexPaneText(std::span(frameCopy_).first(workingLength_)); }

std::string DecodeContext::vendorSuffix(std::string_view ouiText) const {
  if (!vendorLookup_) return {};
  std::string vendor = vendorLookup_(ouiText);
  if (vendor.empty()) return {};
  return " ( " + vendor + " )";
}

std::string macAddressLabel(const DecodeContext& context, std::string_view prefix, ByteView bytes,
                            std::size_t offset) {
  const std::string address = hexPairsText(bytes, offset, 6);
  std::string label;
  label.reserve(prefix.size() + address.size());
  label.append(prefix).append(address);
  label += context.vendorSuffix(std::string_view(address).substr(0, 8));
  return label;
}

std::string hexPaneText(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.resize(bytes.size() * 3 + bytes.size() / kHexBytesPerLine * 2 + bytes.size() / 8);
  std::size_t out = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    text[out++] = kDigits[bytes[i] >> 4];
    text[out++] = kDigits[bytes[i] & 0x0F];
    const std::size_t column = i % kHexBytesPerLine;
    if (column == kHexBytesPerLine - 1) {
      text[out++] = '\r';
      text[out++] = '\n';
    } else {
      text[out++] = ' ';
      if (column == 7) text[out++] = ' ';
    }
  }
  text.resize(out);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\n' || text.back() == '\t')) {
    text.pop_back();
  }
  return text;
}

}  // namespace qv
