#pragma once

#include <string>

namespace qv::platform {

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute
// path, else the home folder's ".config". On Windows, %APPDATA%.
std::string userConfigHome();

// The folder that holds the settings file and filter.lst: the configuration
// folder's "Orvane" folder, where the settings file of organisation "Orvane"
// lives. Not created here; the first writer creates it.
std::string settingsFolder();

// The settings file ("Orvane/Quorvex Log Viewer.conf"). Unused on Windows,
// where the settings live in the registry.
std::string settingsFilePath();

// Where the filter list is kept: beside the settings file (program folders
// are not writable by users); on Windows beside the program file.
std::string filterListPath();

}  // namespace qv::platform
