#pragma once

#include "settings/options_settings.h"
#include "settings/settings_codecs.h"
#include "settings/settings_store.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qv::settings {

// The colour radio buttons, in their order in the dialog.
enum class ColorPreset { kStandard = 0, kBlack = 1, kSoft = 2, kLight = 3, kCustom = 4 };

// The six colour component fields.
enum class ColorField { kBackgroundRed = 0, kBackgroundGreen, kBackgroundBlue, kTextRed, kTextGreen, kTextBlue };
inline constexpr std::size_t kColorFieldCount = 6;

struct PresetColors {
  RgbColor background;
  RgbColor text;
};
// The colours of a preset; nullopt for Custom, which keeps the fields.
std::optional<PresetColors> presetColors(ColorPreset preset);
// The preset whose colours are exactly these, else Custom.
ColorPreset detectColorPreset(std::uint32_t backgroundColor, std::uint32_t textColor);
// Whether the lists take their colours from the desktop theme: the Standard
// pair stands for the system's own list colours, which are white and black
// only on a light theme. Any other pair is the user's choice and is kept.
inline bool usesDesktopColors(std::uint32_t backgroundColor, std::uint32_t textColor) {
  return detectColorPreset(backgroundColor, textColor) == ColorPreset::kStandard;
}

// The list options the caller gives the dialog and gets back on OK.
struct ViewOptions {
  ViewStyle style;
  std::uint32_t backgroundColor = 0xFFFFFF;
  std::uint32_t textColor = 0;

  friend bool operator==(const ViewOptions&, const ViewOptions&) = default;
};

inline constexpr std::string_view kErrorCaption = "Error";
inline constexpr std::string_view kApplicationCaption = "Quorvex Log Viewer";
inline constexpr std::string_view kRgbOverRangeMessage = "Error : RGB element over 255";
inline constexpr std::string_view kNotANumberMessage = "Please enter an integer.";
inline constexpr std::string_view kPathTooLongMessage = "Error : File path longer than 259 bytes";

// What pressing OK came to. Anything but Accepted keeps the dialog open with
// nothing written; message and caption are the message box to show.
struct OptionsOutcome {
  enum class Kind { kAccepted, kNotANumber, kComponentOutOfRange, kPathTooLong };
  Kind kind = Kind::kAccepted;
  // NotANumber: the field to report it on.
  ColorField field = ColorField::kBackgroundRed;
  std::string_view message;
  std::string_view caption;
  // Accepted: the values for the caller to apply to the views.
  ViewOptions view;
};

// The Options dialog without its widgets. The dialog shows these values and
// hands every user edit back; the model applies the dialog's rules.
class OptionsModel {
 public:
  // Takes the caller's list options, selects the matching preset and reads
  // the paths and start-up flags from the store.
  OptionsModel(const ViewOptions& current, const SettingsStore& store);

  // Fields the dialog binds directly.
  std::string trafficLogPath;
  std::string packetLogPath;
  ViewStyle style;
  bool startMinimized = false;
  bool clearData = false;
  bool registerAutorun = false;

  ColorPreset preset() const { return preset_; }
  const std::string& colorText(ColorField field) const { return colors_[static_cast<std::size_t>(field)]; }

  // The user typed into a field or used its arrows: selects Custom. Giving
  // back the text the field already holds (the dialog's own echo while it
  // shows values) is not an edit; returns whether it was one.
  bool editColor(ColorField field, std::string_view text);
  // A preset button: sets the six fields from the preset; Custom only
  // selects itself.
  void choosePreset(ColorPreset preset);

  // The swatch colours: each field's number modulo 256 (a field that holds
  // no number counts as 0).
  std::uint32_t backgroundSwatch() const;
  std::uint32_t textSwatch() const;

  // OK: validates the fields, brings the start-up entry into the state of
  // its box (updateStartupEntry(enabled) reports success; a failure stores
  // the option as off), then writes the Options chain.
  OptionsOutcome accept(SettingsStore& store, const std::function<bool(bool enabled)>& updateStartupEntry);

 private:
  void setColors(const PresetColors& colors);
  std::uint32_t swatch(std::size_t first) const;

  std::array<std::string, kColorFieldCount> colors_;
  ColorPreset preset_ = ColorPreset::kCustom;
};

// A whole number as the dialog accepts it: optional blanks, an optional sign,
// digits, optional blanks. Values beyond the 64-bit range saturate.
std::optional<std::int64_t> parseWholeNumber(std::string_view text);

}  // namespace qv::settings
