#pragma once

#include "settings/settings_store.h"

#include <memory>
#include <string>

namespace qv::settings {

// The settings key kept in a settings file (INI format) at filePath. Each
// stored type has its own group, so the type survives the text format:
//   [Text]    TimeStr=...          texts (terminator implied)
//   [Number]  CheckBox=127         32-bit values as decimal numbers
//   [Binary]  ColumnWidth=@ByteArray(...)   raw bytes
// The file exists once the key has been created. The writes made through a
// key are saved together when it closes: one atomic replacement of the file
// under its lock, merged value by value with what another running viewer
// saved meanwhile (the last writer wins), so a crash never leaves a torn file. A damaged or unreadable file
// reads as far as its values are sound; the next write replaces it with the
// sound values only, keeping a copy beside it as "<file>.damaged".
std::unique_ptr<SettingsStore> makeFileSettingsStore(std::string filePath);

}  // namespace qv::settings
