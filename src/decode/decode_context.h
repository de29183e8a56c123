#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "decode/byte_view.h"
#include "decode/decode_result.h"
#include "decode/decode_tree.h"
#include "decode/hex_span.h"

namespace qv {

// Names the holder of an OUI given as "xx-xx-xx"; an empty text when unknown
// or when the vendor library is missing.
using VendorLookup = std::function<std::string(std::string_view ouiText)>;

// The state of one decoding pass: a private copy of the frame (followed by
// one zero byte), the working frame length that bounds every read, and the
// result being built. Decoders receive it by reference and only append.
class DecodeContext {
 public:
  DecodeContext(std::span<const std::uint8_t> frame, VendorLookup vendorLookup);

  // The first workingLength() bytes of the frame copy.
  ByteView frame() const noexcept { return ByteView(std::span(frameCopy_).first(workingLength_)); }
  // The frame bytes from `start` to the working length (empty past it).
  ByteView frameFrom(FrameOffset start) const noexcept { return frame().from(start); }
  std::uint32_t workingLength() const noexcept { return workingLength_; }
  // Drops trailing bytes (Ethernet padding); never lengthens.
  void shortenWorkingLength(std::uint32_t length) noexcept;

  DecodeTree& tree() noexcept { return result_.tree; }
  const DecodeTree& tree() const noexcept { return result_.tree; }

  // Fills the payload pane with the frame bytes from `start` to the working
  // length (zero bytes as '.') and sets payloadBase to `start`; does nothing
  // when `start` is not below the working length.
  void showPayload(FrameOffset start);
  void setPayloadBase(FrameOffset offset) noexcept { result_.payloadBase = offset; }
  FrameOffset payloadBase() const noexcept { return result_.payloadBase; }
  // Asks the viewer to scroll the tree so that the root is the first visible node.
  void requestScrollToRoot() noexcept { result_.scrollToRoot = true; }

  // Writes the hex pane from the first working-length bytes.
  void fillHexPane();

  // " ( vendor )" for the OUI text "xx-xx-xx", or "" when the lookup finds no name.
  std::string vendorSuffix(std::string_view ouiText) const;

  // Ends the pass and hands over what was built.
  DecodeResult takeResult() noexcept { return std::move(result_); }

 private:
  std::vector<std::uint8_t> frameCopy_;  // frame bytes + one zero byte
  std::uint32_t workingLength_ = 0;
  VendorLookup vendorLookup_;
  DecodeResult result_;
};

// prefix + the six bytes at `offset` as "xx-xx-xx-xx-xx-xx" + the vendor
// suffix of their first three bytes (the MAC labels of Ethernet and DHCP).
std::string macAddressLabel(const DecodeContext& context, std::string_view prefix, ByteView bytes,
                            std::size_t offset);

// The hex-pane text of `bytes`: "%02x" per byte, 16 to a line, trimmed at the end.
std::string hexPaneText(std::span<const std::uint8_t> bytes);

}  // namespace qv
