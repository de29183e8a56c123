#pragma once

#include <cstdint>
#include <string_view>

#include "decode/byte_view.h"
#include "decode/decode_context.h"
#include "decode/decode_tree.h"
#include "decode/hex_span.h"

namespace qv {

// Where each IPv4 header field sits in the hex pane.
struct IpFieldSpans {
  HexSpan version, headerLength, typeOfService, precedenceAndDelay, lowTosBits, totalLength, identification, flags,
      fragmentOffset, timeToLive, protocol, checksum, sourceAddress, destinationAddress;
};

// The spans of a frame's own IPv4 header (it starts at frame offset 14).
IpFieldSpans frameIpFieldSpans() noexcept;
// The spans of an IPv4 header whose first byte is at frame offset `base`.
IpFieldSpans quotedIpFieldSpans(FrameOffset base) noexcept;

// What differs between a frame's own header and a quoted one.
struct IpFieldTexts {
  unsigned long totalLength = 0;
  std::string_view protocolName;
  std::string_view checksumSuffix;  // " (Correct)", " (Error)" or empty
};

// Appends the nodes of the 20 fixed IPv4 header bytes of `ip` (which starts
// at the version byte) under `header`, from "Version" to "Destination IP Address".
void addIpFieldNodes(DecodeTree& tree, NodeId header, ByteView ip, const IpFieldSpans& spans,
                     const IpFieldTexts& texts);

// Decodes an IPv4 header quoted in an ICMP error message: `quoted` holds the
// bytes that follow the ICMP header, `base` is the frame offset of the first.
// "IP Header" and "IP Data" go under `parent`.
void decodeQuotedIpHeader(DecodeContext& context, NodeId parent, ByteView quoted, FrameOffset base);

}  // namespace qv
