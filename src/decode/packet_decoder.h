#pragma once

#include "decode/decode_context.h"
#include "decode/decode_result.h"
#include "logdata/packet_record.h"

namespace qv {

// Turns the captured frame of a packet record into the decode tree, the hex
// pane and the payload pane. Decoding never fails: a shortage or a bad value
// becomes an error node and ends the decoding of that packet.
class PacketDecoder {
 public:
  // Names MAC vendors through the vendor library (lookupVendor).
  PacketDecoder();
  // Names MAC vendors through `vendorLookup` (none when it is empty).
  explicit PacketDecoder(VendorLookup vendorLookup);

  DecodeResult decodePacket(const PacketRecord& record) const;

 private:
  VendorLookup vendorLookup_;
};

}  // namespace qv
