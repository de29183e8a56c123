// Feeds arbitrary settings files to the file backend. Whatever values a
// damaged file still gives must survive the repair that the first write
// makes, and a value written then must read back exactly.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "settings/file_settings_store.h"
#include "settings/value_names.h"

namespace {

namespace s = qv::settings;

void check(bool condition) {
  if (!condition) std::abort();
}

const std::string& scratchPath() {
  static const std::string path = "/tmp/qv_settings_file_fuzz_" + std::to_string(::getpid()) + ".ini";
  return path;
}

constexpr std::string_view kNames[] = {
    s::names::kTimeText,   s::names::kAppNameText,   s::names::kCheckBoxes, s::names::kTrafficColumnWidths,
    s::names::kFontFace,   s::names::kWindowRect,    s::names::kViewStyle,  s::names::kTrafficLogPath,
    s::names::kPacketViewerSplitterRatio, s::names::kWhoisArinServer, "a", "Text", "Binary", "Number"};

using Values = std::map<std::string_view, std::optional<s::StoredValue>>;

Values readAll(const s::SettingsKey& key) {
  Values values;
  for (const std::string_view name : kNames) values[name] = key.value(name);
  return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& path = scratchPath();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  const bool written = std::fwrite(data, 1, size, file) == size;
  std::fclose(file);
  if (!written) return 0;

  const auto store = s::makeFileSettingsStore(path);
  Values before;
  if (const auto key = store->openForReading()) before = readAll(*key);

  const s::StoredValue added{s::ValueType::kBinary, {0x00, 0x0D, 0x0A, 0x5B, 0x3D, 0xFF}};
  {
    const auto key = store->createForWriting();
    check(key != nullptr);
    check(key->setValue("FuzzAdded", added));
    check(key->close());
  }
  const auto key = store->openForReading();
  check(key != nullptr);
  check(readAll(*key) == before);
  check(key->value("FuzzAdded") == added);

  std::remove(path.c_str());
  std::remove((path + ".damaged").c_str());
  std::remove((path + ".lock").c_str());
  return 0;
}
