#include "decode/dhcp_decoder.h"

#include <string>

#include "decode/dhcp_names.h"
#include "decode/dhcp_option_labels.h"
#include "decode/field_text.h"

namespace qv {

namespace {

// Offsets within a BOOTP message.
constexpr std::size_t kClientHardwareAddress = 28;
constexpr std::size_t kServerHostName = 44;
constexpr std::size_t kBootFileName = 108;
constexpr std::size_t kFixedHeaderSize = 236;
constexpr std::size_t kOptionsStart = 240;  // after the magic cookie

constexpr std::uint8_t kPad = 0;
constexpr std::uint8_t kEnd = 255;
constexpr std::uint8_t kParameterRequestList = 55;
constexpr std::uint8_t kClientIdentifier = 61;

class DhcpDecoder {
 public:
  DhcpDecoder(DecodeContext& context, ByteView payload, FrameOffset base)
      : context_(context), tree_(context.tree()), payload_(payload), base_(base) {}

  void decode(NodeId parent) {
    const NodeId dhcp = tree_.addChild(parent, "Data : DHCP", spanToEnd(base_));
    if (payload_.size() < kFixedHeaderSize) {
      tree_.addChild(dhcp, formatText("Error : %lu Bytes", static_cast<unsigned long>(payload_.size())),
                     spanToEnd(base_));
      return;
    }
    addHeader(dhcp);
    tree_.expand(dhcp);
    if (payload_.size() == kFixedHeaderSize) return;
    const NodeId options = tree_.addChild(dhcp, "Options", spanToEnd(base_ + kFixedHeaderSize));
    if (payload_.size() <= kOptionsStart) {
      tree_.addChild(options, "Error", spanToEnd(base_ + kFixedHeaderSize));
      return;
    }
    if (!addMagicCookie(options)) return;
    if (walkOptions(options)) context_.requestScrollToRoot();
  }

 private:
  HexSpan bytes(std::size_t first, std::size_t end) const {
    return byteRangeSpan(base_ + static_cast<FrameOffset>(first), base_ + static_cast<FrameOffset>(end));
  }

  void addHeader(NodeId dhcp) {
    const std::uint8_t opcode = payload_.u8(0);
    const char* const opcodeName = opcode == 1 ? " ( Boot Request )" : opcode == 2 ? " ( Boot Reply )" : "";
    tree_.addChild(dhcp, formatText("Opcode : %hu%s", static_cast<unsigned short>(opcode), opcodeName), bytes(0, 1));
    const std::uint8_t hardwareType = payload_.u8(1);
    tree_.addChild(dhcp,
                   formatText("Hardware Type : %hu", static_cast<unsigned short>(hardwareType)) +
                       std::string(hardwareTypeName(hardwareType)),
                   bytes(1, 2));
    tree_.addChild(dhcp, formatText("Hardware Address Length : %hu", static_cast<unsigned short>(payload_.u8(2))),
                   bytes(2, 3));
    tree_.addChild(dhcp, formatText("Hop Count : %hu", static_cast<unsigned short>(payload_.u8(3))), bytes(3, 4));
    tree_.addChild(dhcp, formatText("Transaction ID : %lu", static_cast<unsigned long>(payload_.u32(4))), bytes(4, 8));
    tree_.addChild(dhcp, formatText("Number of Seconds : %hu sec.", payload_.u16(8)), bytes(8, 10));
    tree_.addChild(dhcp, payload_.u16(10) != 0 ? "Flags : BROADCAST" : "Flags : no BROADCAST", bytes(10, 12));
    tree_.addChild(dhcp, "Client IP Address : " + dottedQuadText(payload_, 12), bytes(12, 16));
    tree_.addChild(dhcp, "Your IP Address : " + dottedQuadText(payload_, 16), bytes(16, 20));
    tree_.addChild(dhcp, "Server IP Address : " + dottedQuadText(payload_, 20), bytes(20, 24));
    tree_.addChild(dhcp, "Gateway IP Address : " + dottedQuadText(payload_, 24), bytes(24, 28));
    // Always six bytes: the address length field is shown, not trusted.
    tree_.addChild(dhcp, macAddressLabel(context_, "Client Hardware Address : ", payload_, kClientHardwareAddress),
                   bytes(kClientHardwareAddress, kServerHostName));
    tree_.addChild(dhcp, "Server Host Name", bytes(kServerHostName, kBootFileName));
    tree_.addChild(dhcp, "Boot Filename", bytes(kBootFileName, kFixedHeaderSize));
  }

  // False when the cookie is wrong and the options are not to be read.
  bool addMagicCookie(NodeId options) {
    const std::string cookie = hexPairsText(payload_, kFixedHeaderSize, 4);
    const bool correct = cookie == "63-82-53-63";
    tree_.addChild(options, "Magic Cookie : " + cookie + (correct ? " (Correct)" : " (Error)"),
                   bytes(kFixedHeaderSize, kOptionsStart));
    return correct;
  }

  // True when the walk reached the end of the payload, false when it
  // stopped at an option that does not fit.
  bool walkOptions(NodeId options) {
    const std::size_t length = payload_.size();
    std::size_t i = kOptionsStart;
    while (i < length) {
      const std::uint8_t code = payload_.u8(i);
      std::size_t optionLength = 1;
      if (code == kPad) {
        while (i + optionLength < length && payload_.u8(i + optionLength) == 0) ++optionLength;
      } else if (code != kEnd) {
        // The length byte, and then the whole option, must lie within the payload.
        if (i + 1 >= length || i + payload_.u8(i + 1) + 1 >= length) {
          tree_.addChild(options, "Error", spanToEnd(base_ + static_cast<FrameOffset>(i)));
          return false;
        }
        optionLength = std::size_t{payload_.u8(i + 1)} + 2;
      }
      addOption(options, i, payload_.slice(i, optionLength));
      tree_.expand(options);
      i += optionLength;
    }
    return true;
  }

  void addOption(NodeId options, std::size_t offset, ByteView option) {
    const NodeId node = tree_.addChild(options, dhcpOptionLabel(option), bytes(offset, offset + option.size()));
    const std::uint8_t code = option.u8(0);
    if (code == kParameterRequestList) {
      for (std::size_t k = 2; k < option.size(); ++k) {
        tree_.addChild(node, dhcpOptionName(option.u8(k)), bytes(offset + k, offset + k + 1));
      }
    } else if (code == kClientIdentifier && option.size() > 8) {
      // Type byte at 2, then (for Ethernet-like types) the six address bytes.
      tree_.addChild(node, macAddressLabel(context_, "Client-Identifier : ", option, 3), bytes(offset + 3, offset + 9));
    }
  }

  DecodeContext& context_;
  DecodeTree& tree_;
  ByteView payload_;
  FrameOffset base_;
};

}  // namespace

void decodeDhcp(DecodeContext& context, NodeId parent, ByteView payload, FrameOffset base) {
  DhcpDecoder(context, payload, base).decode(parent);
}

}  // namespace qv
