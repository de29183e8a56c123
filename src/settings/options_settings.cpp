#include "settings/options_settings.h"

#include "settings/value_names.h"

#include <memory>

namespace qv::settings {

StoredOptions readOptionsSettings(const SettingsStore& store) {
  StoredOptions stored;
  const std::unique_ptr<const SettingsKey> key = store.openForReading();
  if (!key) return stored;
  stored.trafficLogPath = key->readText(names::kTrafficLogPath).value_or(std::string());
  stored.packetLogPath = key->readText(names::kPacketLogPath).value_or(std::string());
  stored.startMinimized = key->readNumber(names::kStartMinimized).value_or(0) != 0;
  stored.clearData = key->readNumber(names::kClearData).value_or(1) != 0;
  stored.registerAutorun = key->readNumber(names::kRegisterAutorun).value_or(0) != 0;
  return stored;
}

WriteChainResult writeOptionsSettings(SettingsStore& store, const OptionsSettings& options) {
  return WriteChain(store)
      .text(names::kTrafficLogPath, options.trafficLogPath)
      .text(names::kPacketLogPath, options.packetLogPath)
      .number(names::kViewStyle, encodeViewStyle(options.viewStyle))
      .number(names::kBackgroundColor, options.backgroundColor)
      .number(names::kTextColor, options.textColor)
      .number(names::kStartMinimized, options.startMinimized ? 1 : 0)
      .number(names::kClearData, options.clearData ? 1 : 0)
      .number(names::kRegisterAutorun, options.registerAutorun ? 1 : 0)
      .finish();
}

}  // namespace qv::settings
