#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::platform {

// The start-up entry makes the viewer start hidden in the tray at log-on:
// it runs the program file with the argument "-minimize". Here it is the
// user's XDG autostart entry "qvlogview.desktop"; on Windows the value
// "Quorvex Log Viewer" under the machine's Run key.

// Where the entry lives: the desktop file's path, or the Run key's name.
std::string startupEntryLocation();

// Creates or replaces the entry for the program at programPath (written
// atomically). False when it cannot be written or no entry can name
// programPath (see desktopExecCommand).
bool writeStartupEntry(const std::string& programPath);

// Removes the entry; true also when there was none.
bool removeStartupEntry();

// Writes the entry for this program (programPath()) or removes it. False when
// the entry could not be brought into the requested state.
bool updateStartupEntry(bool enabled);

// The command line the entry runs, split into arguments (program path first,
// after "env" where the path holds a "%"); nullopt when there is no entry or
// it cannot be read.
std::optional<std::vector<std::string>> readStartupEntry();

// Desktop-entry Exec quoting: one argument as it must appear in an Exec value
// (before the value's own escaping), and the reverse split of a whole value
// as stored in the file. Exposed for the entry's round trip tests.
std::string desktopExecArgument(std::string_view argument);
// The whole Exec value (before its escaping) that runs programPath with
// argument; nullopt when no entry can name that path: the file is UTF-8 and
// holds no control characters but the tab, CR and newline it escapes.
std::optional<std::string> desktopExecCommand(std::string_view programPath, std::string_view argument);
std::string escapeDesktopValue(std::string_view value);
std::optional<std::vector<std::string>> splitDesktopExec(std::string_view storedValue);

}  // namespace qv::platform
