#pragma once

#include "settings/settings_codecs.h"
#include "settings/settings_store.h"
#include "settings/write_chain.h"

#include <cstdint>
#include <string>

namespace qv::settings {

// What the Options dialog reads from the store when it opens.
struct StoredOptions {
  std::string trafficLogPath;
  std::string packetLogPath;
  bool startMinimized = false;   // "StartupWindowMin" present and non-zero
  bool clearData = false;        // "ClearData" not present as 0
  bool registerAutorun = false;  // "RegisterAutorun" present and non-zero

  friend bool operator==(const StoredOptions&, const StoredOptions&) = default;
};

// Without the key the paths are empty and all three flags off (clearData
// too, although a key without "ClearData" turns it on).
StoredOptions readOptionsSettings(const SettingsStore& store);

// What the Options dialog writes on OK.
struct OptionsSettings {
  std::string trafficLogPath;
  std::string packetLogPath;
  ViewStyle viewStyle;
  std::uint32_t backgroundColor = 0xFFFFFF;
  std::uint32_t textColor = 0;
  bool startMinimized = false;
  bool clearData = true;
  bool registerAutorun = false;
};

// The OK chain: "tralogPath", "rawlogPath", "ViewStyle", "ColorBk",
// "ColorTxt", "StartupWindowMin", "ClearData", "RegisterAutorun" (flags as 1
// or 0); stops at the first failed write.
WriteChainResult writeOptionsSettings(SettingsStore& store, const OptionsSettings& options);

}  // namespace qv::settings
