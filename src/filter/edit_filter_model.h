#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "filter/filter_entry.h"

namespace qv {

// The radio groups of the Edit Filter dialog; the values are the buttons'
// positions in their group.
enum class ActionChoice : int { kAllow = 0, kBlock = 1, kBoth = 2 };
enum class DirectionChoice : int { kIn = 0, kOut = 1, kBoth = 2 };
enum class ProtocolChoice : int { kTcp = 0, kUdp = 1, kIcmp = 2, kAll = 3 };

// Character limits of the dialog's text fields.
inline constexpr std::size_t kEditFilterAddressLimit = 15;
inline constexpr std::size_t kEditFilterPortLimit = 5;
inline constexpr std::size_t kEditFilterNameLimit = 260;

// The messages of the dialog's checks.
inline constexpr std::string_view kEditFilterAddressError = "Error : IP (xxx.xxx.xxx.xxx)";
inline constexpr std::string_view kEditFilterPortError = "Error : Port (0 - 65535)";

// What the Edit Filter dialog shows and the user changes. Texts are bytes in
// the system's code page. A default-constructed value holds the dialog's
// defaults: every choice "Both"/"All" and every text its wildcard.
struct EditFilterFields {
  ActionChoice action = ActionChoice::kBoth;
  DirectionChoice direction = DirectionChoice::kBoth;
  ProtocolChoice protocol = ProtocolChoice::kAll;
  std::string remoteAddress{FilterWildcard::kAddress};
  std::string remotePort{"All"};
  std::string localAddress{FilterWildcard::kAddress};
  std::string localPort{"All"};
  std::string applicationName{FilterWildcard::kApplication};
  std::string ruleName{FilterWildcard::kRule};

  friend bool operator==(const EditFilterFields&, const EditFilterFields&) = default;
};

// The dialog's fields for an existing entry. A direction-less entry shows as
// Both, so saving it again widens it to any direction.
EditFilterFields editFilterFieldsFromEntry(const FilterEntry& entry);

// The port text check: "All", or digits only with a value below 65536; an
// empty text is port 0. Gives the port, or none for "All" and for a bad text.
std::optional<std::uint16_t> parseFilterPortText(std::string_view text) noexcept;
bool isValidFilterPortText(std::string_view text) noexcept;

// The check run on "OK": remote address, local address, remote port, local
// port, in that order. The message of the first failure, or none when the
// dialog may close.
std::optional<std::string_view> checkEditFilterFields(const EditFilterFields& fields) noexcept;

// The entry the accepted fields describe. The texts are taken as typed, so
// the wildcard texts stay wildcards; a port "All" adds its marker.
FilterEntry buildFilterEntry(const EditFilterFields& fields);

}  // namespace qv
