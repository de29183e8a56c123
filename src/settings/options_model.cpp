#include "settings/options_model.h"

#include <limits>

namespace qv::settings {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

std::optional<PresetColors> presetColors(ColorPreset preset) {
  switch (preset) {
    case ColorPreset::kStandard: return PresetColors{{255, 255, 255}, {0, 0, 0}};
    case ColorPreset::kBlack: return PresetColors{{0, 0, 0}, {230, 230, 230}};
    case ColorPreset::kSoft: return PresetColors{{209, 221, 228}, {0, 0, 0}};
    case ColorPreset::kLight: return PresetColors{{255, 255, 235}, {0, 0, 0}};
    case ColorPreset::kCustom: break;
  }
  return std::nullopt;
}

ColorPreset detectColorPreset(std::uint32_t backgroundColor, std::uint32_t textColor) {
  for (const ColorPreset preset : {ColorPreset::kStandard, ColorPreset::kBlack, ColorPreset::kSoft, ColorPreset::kLight}) {
    const PresetColors colors = *presetColors(preset);
    if (backgroundColor == encodeColor(colors.background) && textColor == encodeColor(colors.text)) return preset;
  }
  return ColorPreset::kCustom;
}

std::optional<std::int64_t> parseWholeNumber(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && isBlank(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  const std::size_t digitsStart = at;
  std::int64_t magnitude = 0;
  constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max();
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    const int digit = text[at] - '0';
    magnitude = magnitude > (kLimit - digit) / 10 ? kLimit : magnitude * 10 + digit;
  }
  if (at == digitsStart) return std::nullopt;
  while (at < text.size() && isBlank(text[at])) ++at;
  if (at != text.size()) return std::nullopt;
  return negative ? -magnitude : magnitude;
}

OptionsModel::OptionsModel(const ViewOptions& current, const SettingsStore& store) : style(current.style) {
  setColors(PresetColors{decodeColor(current.backgroundColor), decodeColor(current.textColor)});
  preset_ = detectColorPreset(current.backgroundColor, current.textColor);
  const StoredOptions stored = readOptionsSettings(store);
  trafficLogPath = stored.trafficLogPath;
  packetLogPath = stored.packetLogPath;
  startMinimized = stored.startMinimized;
  clearData = stored.clearData;
  registerAutorun = stored.registerAutorun;
}

void OptionsModel::setColors(const PresetColors& colors) {
  const RgbColor all[] = {colors.background, colors.text};
  for (std::size_t i = 0; i < 2; ++i) {
    colors_[3 * i] = std::to_string(all[i].red);
    colors_[3 * i + 1] = std::to_string(all[i].green);
    colors_[3 * i + 2] = std::to_string(all[i].blue);
  }
}

bool OptionsModel::editColor(ColorField field, std::string_view text) {
  std::string& current = colors_[static_cast<std::size_t>(field)];
  if (current == text) return false;
  current = std::string(text);
  preset_ = ColorPreset::kCustom;
  return true;
}

void OptionsModel::choosePreset(ColorPreset preset) {
  preset_ = preset;
  if (const std::optional<PresetColors> colors = presetColors(preset)) setColors(*colors);
}

std::uint32_t OptionsModel::swatch(std::size_t first) const {
  std::uint32_t color = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    const std::int64_t value = parseWholeNumber(colors_[first + i]).value_or(0);
    color |= (static_cast<std::uint32_t>(static_cast<std::uint64_t>(value) & 0xFFU)) << (8 * i);
  }
  return color;
}

std::uint32_t OptionsModel::backgroundSwatch() const { return swatch(0); }

std::uint32_t OptionsModel::textSwatch() const { return swatch(3); }

OptionsOutcome OptionsModel::accept(SettingsStore& store, const std::function<bool(bool enabled)>& updateStartupEntry) {
  OptionsOutcome outcome;
  std::array<std::int64_t, kColorFieldCount> components{};
  for (std::size_t i = 0; i < kColorFieldCount; ++i) {
    const std::optional<std::int64_t> value = parseWholeNumber(colors_[i]);
    if (!value) {
      outcome.kind = OptionsOutcome::Kind::kNotANumber;
      outcome.field = static_cast<ColorField>(i);
      outcome.message = kNotANumberMessage;
      outcome.caption = kApplicationCaption;
      return outcome;
    }
    components[i] = *value;
  }
  for (const std::int64_t component : components) {
    if (component < 0 || component > 255) {
      outcome.kind = OptionsOutcome::Kind::kComponentOutOfRange;
      outcome.message = kRgbOverRangeMessage;
      outcome.caption = kErrorCaption;
      return outcome;
    }
  }
  // A longer path would be stored but never read back: the next start would
  // silently fall back to the default log.
  if (trafficLogPath.size() > kMaxReadableTextLength || packetLogPath.size() > kMaxReadableTextLength) {
    outcome.kind = OptionsOutcome::Kind::kPathTooLong;
    outcome.message = kPathTooLongMessage;
    outcome.caption = kErrorCaption;
    return outcome;
  }
  const auto color = [&](std::size_t first) {
    return encodeColor(RgbColor{static_cast<std::uint8_t>(components[first]),
                                static_cast<std::uint8_t>(components[first + 1]),
                                static_cast<std::uint8_t>(components[first + 2])});
  };
  outcome.view = ViewOptions{style, color(0), color(3)};

  if (registerAutorun) {
    registerAutorun = updateStartupEntry(true);
  } else {
    updateStartupEntry(false);
  }

  writeOptionsSettings(store, OptionsSettings{trafficLogPath, packetLogPath, style, outcome.view.backgroundColor,
                                              outcome.view.textColor, startMinimized, clearData, registerAutorun});
  return outcome;
}

}  // namespace qv::settings
