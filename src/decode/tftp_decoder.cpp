#include "decode/tftp_decoder.h"

#include <string>
#include <string_view>

#include "decode/field_text.h"

namespace qv {

namespace {

constexpr std::size_t kMinimumMessage = 4;

const char* opcodeName(std::uint16_t opcode) {
  switch (opcode) {
    case 1: return " ( Read Request )";
    case 2: return " ( Write Request )";
    case 3: return " ( Data )";
    case 4: return " ( Acknowledgment )";
    case 5: return " ( Error )";
    case 6: return " ( Option Acknowledgment )";
    default: return " ( Unknown Opcode )";
  }
}

const char* errorCodeName(std::uint16_t code) {
  switch (code) {
    case 0: return " ( Not defined, see error message )";
    case 1: return " ( File not found )";
    case 2: return " ( Access violation )";
    case 3: return " ( Disk full or allocation exceeded )";
    case 4: return " ( Illegal TFTP operation )";
    case 5: return " ( Unknown transfer ID )";
    case 6: return " ( File already exists )";
    case 7: return " ( No such user )";
    case 8: return " ( Transfer should be terminated due to option negotiation )";
    default: return " ( Unknown Code )";
  }
}

// A zero-terminated text field: the text and the bytes it occupies (the
// text and its zero, or up to the end of the message when the zero is missing).
struct TextField {
  std::string_view text;
  std::size_t size;
};

class TftpDecoder {
 public:
  TftpDecoder(DecodeContext& context, ByteView payload, FrameOffset base)
      : context_(context), tree_(context.tree()), payload_(payload), base_(base) {}

  void decode(NodeId parent) {
    const std::size_t length = payload_.size();
    node_ = tree_.addChild(parent, "Data : TFTP", spanToEnd(base_));
    if (length < kMinimumMessage) {
      add(formatText("Error : %lu Bytes", static_cast<unsigned long>(length)), spanToEnd(base_));
      return;
    }
    const std::uint16_t opcode = payload_.u16(0);
    add(formatText("Opcode : %hu%s", opcode, opcodeName(opcode)), bytes(0, 2));
    switch (opcode) {
      case 1:
      case 2: {
        const std::size_t afterName = addText("File Name : ", 2);
        if (afterName >= length) return;
        addOptionPairs(addText("Mode : ", afterName));
        break;
      }
      case 3:
        add(formatText("Block Number : %hu", payload_.u16(2)), bytes(2, 4));
        add(countLabel("Data : %s Bytes", length - 4), spanToEnd(base_ + 4));
        context_.showPayload(base_ + 4);
        context_.setPayloadBase(base_ + 4);
        break;
      case 4:
        add(formatText("Block Number : %hu", payload_.u16(2)), bytes(2, 4));
        addUnknownData(4);
        break;
      case 5: {
        const std::uint16_t code = payload_.u16(2);
        add(formatText("Error Code : %hu%s", code, errorCodeName(code)), bytes(2, 4));
        addUnknownData(addText("Error Message : ", 4));
        break;
      }
      case 6: addOptionPairs(2); break;
      default: addUnknownData(2); break;
    }
  }

 private:
  HexSpan bytes(std::size_t first, std::size_t end) const {
    return byteRangeSpan(base_ + static_cast<FrameOffset>(first), base_ + static_cast<FrameOffset>(end));
  }

  void add(std::string label, HexSpan span) { tree_.addChild(node_, std::move(label), span); }

  // Byte counts are 16-bit in these labels; a count that does not fit
  // (only in frames no capture holds) is shown whole rather than wrapped.
  static std::string countLabel(const char* format, std::size_t count) {
    return formatText(format, std::to_string(count).c_str());
  }

  TextField textAt(std::size_t position) const {
    const std::size_t length = payload_.size();
    if (position >= length) return {{}, 0};
    const auto* const start = reinterpret_cast<const char*>(payload_.data() + position);
    const std::string_view rest(start, length - position);
    const std::size_t zero = rest.find('\0');
    if (zero == std::string_view::npos) return {rest, rest.size()};
    return {rest.substr(0, zero), zero + 1};
  }

  // Adds prefix + the text field at `position`; returns where the field ends.
  std::size_t addText(std::string_view prefix, std::size_t position) {
    const TextField field = textAt(position);
    std::string label(prefix);
    label.append(field.text);
    add(std::move(label), bytes(position, position + field.size));
    return position + field.size;
  }

  // Option name / value pairs up to the end of the message.
  void addOptionPairs(std::size_t position) {
    const std::size_t length = payload_.size();
    while (position < length) {
      position = addText("Option : ", position);
      if (position >= length) break;
      position = addText("Value : ", position);
    }
  }

  void addUnknownData(std::size_t position) {
    const std::size_t length = payload_.size();
    if (position >= length) return;
    add(countLabel("Unknown Data : %s Bytes", length - position),
        spanToEnd(base_ + static_cast<FrameOffset>(position)));
  }

  DecodeContext& context_;
  DecodeTree& tree_;
  ByteView payload_;
  FrameOffset base_;
  NodeId node_ = DecodeTree::kNoNode;
};

}  // namespace

void decodeTftp(DecodeContext& context, NodeId parent, ByteView payload, FrameOffset base) {
  TftpDecoder(context, payload, base).decode(parent);
}

}  // namespace qv
