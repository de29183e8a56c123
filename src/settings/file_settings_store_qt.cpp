#include "settings/file_settings_store.h"

#include "platform/config_location.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <map>
#include <utility>

namespace qv::settings {
namespace {

constexpr std::array<std::pair<ValueType, const char*>, 3> kGroups = {
    {{ValueType::kText, "Text"}, {ValueType::kNumber32, "Number"}, {ValueType::kBinary, "Binary"}}};

QString groupKey(ValueType type, const QString& name) {
  for (const auto& [groupType, group] : kGroups) {
    if (groupType == type) return QString::fromLatin1(group) + u'/' + name;
  }
  return name;
}

// QSettings takes both slashes as group separators; such a name could reach
// into another group.
std::optional<QString> keyName(std::string_view name) {
  if (name.empty() || name.find_first_of("/\\") != std::string_view::npos) return std::nullopt;
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

std::vector<std::uint8_t> bytesOf(const QByteArray& data) {
  return std::vector<std::uint8_t>(reinterpret_cast<const std::uint8_t*>(data.constData()),
                                   reinterpret_cast<const std::uint8_t*>(data.constData()) + data.size());
}

QByteArray byteArrayOf(std::span<const std::uint8_t> bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// A number as written ("127") or typed by hand; anything that does not fit a
// double word is unusable.
std::optional<std::uint32_t> parseNumber(const QString& text) {
  bool ok = false;
  const qlonglong value = text.trimmed().toLongLong(&ok, 10);
  if (!ok || value < -2147483648LL || value > 4294967295LL) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

// The stored value of one group entry, or nullopt when it is not sound.
std::optional<StoredValue> decodeEntry(ValueType type, const QVariant& variant) {
  const int typeId = variant.metaType().id();
  StoredValue stored{type, {}};
  switch (type) {
    case ValueType::kText: {
      if (typeId == QMetaType::QByteArray) {
        stored.bytes = bytesOf(variant.toByteArray());
      } else if (typeId == QMetaType::QStringList) {
        // An unquoted hand-written text with commas reads as a list.
        stored.bytes = bytesOf(variant.toStringList().join(QStringLiteral(", ")).toUtf8());
      } else if (variant.canConvert<QString>()) {
        stored.bytes = bytesOf(variant.toString().toUtf8());
      } else {
        return std::nullopt;
      }
      stored.bytes.push_back(0);
      return stored;
    }
    case ValueType::kNumber32: {
      if (typeId == QMetaType::QStringList || !variant.canConvert<QString>()) return std::nullopt;
      const std::optional<std::uint32_t> number = parseNumber(variant.toString());
      if (!number) return std::nullopt;
      for (int i = 0; i < 4; ++i) stored.bytes.push_back(static_cast<std::uint8_t>(*number >> (8 * i)));
      return stored;
    }
    case ValueType::kBinary:
      if (typeId != QMetaType::QByteArray) return std::nullopt;
      stored.bytes = bytesOf(variant.toByteArray());
      return stored;
  }
  return std::nullopt;
}

// What a value looks like in the file: texts as readable strings when their
// bytes are UTF-8 (anything else as raw bytes, which no decoding can alter),
// numbers as unsigned decimals, binary values as raw bytes.
std::optional<QVariant> encodeEntry(const StoredValue& value) {
  switch (value.type) {
    case ValueType::kText: {
      std::span<const std::uint8_t> bytes(value.bytes);
      if (!bytes.empty() && bytes.back() == 0) bytes = bytes.first(bytes.size() - 1);
      const QByteArray raw = byteArrayOf(bytes);
      const QString text = QString::fromUtf8(raw);
      if (text.toUtf8() == raw) return QVariant(text);
      return QVariant(raw);
    }
    case ValueType::kNumber32: {
      if (value.bytes.size() != 4) return std::nullopt;
      std::uint32_t number = 0;
      for (int i = 0; i < 4; ++i) number |= static_cast<std::uint32_t>(value.bytes[static_cast<std::size_t>(i)]) << (8 * i);
      return QVariant(static_cast<uint>(number));
    }
    case ValueType::kBinary:
      return QVariant(byteArrayOf(value.bytes));
  }
  return std::nullopt;
}

using SoundValues = std::map<QString, StoredValue>;

// The sound values of a file, and whether anything in it was not sound.
struct FileContents {
  SoundValues values;
  bool damaged = false;
};

FileContents readContents(QSettings& settings) {
  FileContents contents;
  contents.damaged = settings.status() != QSettings::NoError;
  for (const QString& key : settings.allKeys()) {
    const qsizetype slash = key.indexOf(u'/');
    bool sound = false;
    if (slash > 0 && key.indexOf(u'/', slash + 1) < 0) {
      const QString group = key.left(slash);
      for (const auto& [type, groupName] : kGroups) {
        if (group != QLatin1StringView(groupName)) continue;
        if (std::optional<StoredValue> value = decodeEntry(type, settings.value(key))) {
          // Written values sit in one group only; a hand-edited duplicate
          // loses to the first group.
          contents.values.try_emplace(key.mid(slash + 1), std::move(*value));
          sound = true;
        }
      }
    }
    contents.damaged = contents.damaged || !sound;
  }
  return contents;
}

class FileSettingsKey final : public SettingsKey {
 public:
  FileSettingsKey(const QString& path, SoundValues values, bool writable) : values_(std::move(values)) {
    if (writable) settings_ = std::make_unique<QSettings>(path, QSettings::IniFormat);
  }

  std::optional<StoredValue> value(std::string_view name) const override;
  bool setValue(std::string_view name, const StoredValue& value) override;
  bool deleteValue(std::string_view name) override;
  // Saves the writes held so far in one atomic replacement of the file.
  bool close() override;

 private:
  bool stage(const QString& name);

  // A key opened for reading keeps what it read; one opened for writing
  // reads its own writes back.
  SoundValues values_;
  // Present while the key is open for writing; saves on close() or, at the
  // latest, when destroyed.
  std::unique_ptr<QSettings> settings_;
};

std::optional<StoredValue> FileSettingsKey::value(std::string_view name) const {
  const std::optional<QString> key = keyName(name);
  if (!key) return std::nullopt;
  const auto found = values_.find(*key);
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

bool FileSettingsKey::stage(const QString& name) {
  if (!settings_) return false;
  for (const auto& [type, group] : kGroups) settings_->remove(groupKey(type, name));
  const auto found = values_.find(name);
  if (found != values_.end()) {
    const std::optional<QVariant> entry = encodeEntry(found->second);
    if (!entry) return false;
    settings_->setValue(groupKey(found->second.type, name), *entry);
  }
  return true;
}

bool FileSettingsKey::close() {
  if (!settings_) return true;
  settings_->sync();
  const bool saved = settings_->status() == QSettings::NoError;
  settings_.reset();
  return saved;
}

bool FileSettingsKey::setValue(std::string_view name, const StoredValue& value) {
  const std::optional<QString> key = keyName(name);
  if (!settings_ || !key || !encodeEntry(value)) return false;
  values_.insert_or_assign(*key, value);
  return stage(*key);
}

bool FileSettingsKey::deleteValue(std::string_view name) {
  const std::optional<QString> key = keyName(name);
  if (!settings_ || !key) return false;
  values_.erase(*key);
  return stage(*key);
}

class FileSettingsStore final : public SettingsStore {
 public:
  explicit FileSettingsStore(const std::string& filePath)
      : path_(QFile::decodeName(QByteArray::fromStdString(filePath))) {}

  std::unique_ptr<const SettingsKey> openForReading() const override;
  std::unique_ptr<SettingsKey> createForWriting() override;

 private:
  void replaceDamagedFile(const SoundValues& values) const;

  QString path_;
};

std::unique_ptr<const SettingsKey> FileSettingsStore::openForReading() const {
  const QFileInfo info(path_);
  if (!info.isFile() || !info.isReadable()) return nullptr;
  QSettings settings(path_, QSettings::IniFormat);
  if (settings.status() == QSettings::AccessError) return nullptr;
  return std::make_unique<FileSettingsKey>(path_, readContents(settings).values, false);
}

void FileSettingsStore::replaceDamagedFile(const SoundValues& values) const {
  const QString copy = path_ + QStringLiteral(".damaged");
  QFile::remove(copy);
  QFile::copy(path_, copy);  // a courtesy to the user; the replacement goes on without it
  QSettings settings(path_, QSettings::IniFormat);
  settings.clear();
  for (const auto& [name, value] : values) {
    if (const std::optional<QVariant> entry = encodeEntry(value)) settings.setValue(groupKey(value.type, name), *entry);
  }
  // The status keeps the damage met on opening and cannot tell whether this
  // save worked; a failure shows when the writer's own key closes.
  settings.sync();
}

std::unique_ptr<SettingsKey> FileSettingsStore::createForWriting() {
  const QFileInfo info(path_);
  if (info.exists() && !info.isFile()) return nullptr;
  if (!QDir().mkpath(info.absolutePath())) return nullptr;
  if (!info.exists()) {
    // The key exists from its creation on, even before its first value.
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) && !QFileInfo::exists(path_)) return nullptr;
  }
  SoundValues values;
  {
    QSettings settings(path_, QSettings::IniFormat);
    FileContents contents = readContents(settings);
    values = std::move(contents.values);
    if (contents.damaged) replaceDamagedFile(values);
  }
  return std::make_unique<FileSettingsKey>(path_, std::move(values), true);
}

}  // namespace

std::unique_ptr<SettingsStore> makeFileSettingsStore(std::string filePath) {
  return std::make_unique<FileSettingsStore>(filePath);
}

#ifndef _WIN32
std::unique_ptr<SettingsStore> openUserSettingsStore() { return makeFileSettingsStore(platform::settingsFilePath()); }
#endif

}  // namespace qv::settings
