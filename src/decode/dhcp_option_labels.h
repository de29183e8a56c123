#pragma once

#include <cstdint>
#include <string>

#include "decode/byte_view.h"

namespace qv {

// Labels of DHCP option nodes. `option` holds one whole option: its code
// byte, its length byte and its data (for Pad, the run of zero bytes; for
// End, the single code byte), so that option.size() is the option length.

// The option's name followed by " ( Error )": the option has the wrong length.
std::string dhcpErrorLabel(std::uint8_t code);

// Name + " ( <first address>[...] )"; the error label when no address fits.
std::string dhcpAddressLabel(ByteView option);

// Name + " ( "<text>" )", the text running to the option's end or its first
// zero byte; the error label when the option has no data.
std::string dhcpTextLabel(ByteView option);

// The label of the option node: name and decoded value, or the error label
// when the option's length does not suit its code.
std::string dhcpOptionLabel(ByteView option);

}  // namespace qv
