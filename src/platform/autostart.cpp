#include "platform/autostart.h"

#include "platform/atomic_file.h"
#include "platform/config_location.h"
#include "platform/program_location.h"
#include "platform/utf8_text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#endif

namespace qv::platform {
namespace {

constexpr std::string_view kMinimizeArgument = "-minimize";

bool holdsUnescapableControl(std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && c != '\t' && c != '\n' && c != '\r') || byte == 0x7F) return true;
  }
  return false;
}

}  // namespace

std::string desktopExecArgument(std::string_view argument) {
  constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
  std::string out;
  const bool quoted = argument.empty() || argument.find_first_of(kReserved) != std::string_view::npos;
  if (quoted) out += '"';
  for (const char c : argument) {
    if (c == '%') {
      out += "%%";  // a single % would start a field code
      continue;
    }
    if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\')) out += '\\';
    out += c;
  }
  if (quoted) out += '"';
  return out;
}

std::optional<std::string> desktopExecCommand(std::string_view programPath, std::string_view argument) {
  if (programPath.empty()) return std::nullopt;
  for (const std::string_view part : {programPath, argument}) {
    if (!isValidUtf8(part) || holdsUnescapableControl(part)) return std::nullopt;
  }
  std::string command;
  // Launchers look the program up before they expand "%%" to "%", so a path
  // holding "%" would never be found there; env runs it with the expanded path.
  if (programPath.find('%') != std::string_view::npos) command = "env ";
  command += desktopExecArgument(programPath);
  command += ' ';
  command += desktopExecArgument(argument);
  return command;
}

std::string escapeDesktopValue(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (const char c : value) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::optional<std::vector<std::string>> splitDesktopExec(std::string_view storedValue) {
  // The string escapes of the file apply first, then the Exec quoting.
  std::string value;
  for (std::size_t i = 0; i < storedValue.size(); ++i) {
    const char c = storedValue[i];
    if (c != '\\' || i + 1 == storedValue.size()) {
      value += c;
      continue;
    }
    const char next = storedValue[++i];
    switch (next) {
      case 's': value += ' '; break;
      case 'n': value += '\n'; break;
      case 't': value += '\t'; break;
      case 'r': value += '\r'; break;
      case '\\': value += '\\'; break;
      default: value += c; value += next;
    }
  }
  std::vector<std::string> arguments;
  std::string current;
  bool inArgument = false;
  bool inQuotes = false;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    const bool hasNext = i + 1 < value.size();
    if (c == '%' && hasNext && value[i + 1] == '%') {
      current += '%';
      inArgument = true;
      ++i;
    } else if (inQuotes) {
      if (c == '\\' && hasNext && std::string_view("\"`$\\").find(value[i + 1]) != std::string_view::npos) {
        current += value[++i];
      } else if (c == '"') {
        inQuotes = false;
      } else {
        current += c;
      }
    } else if (c == ' ' || c == '\t') {
      if (inArgument) arguments.push_back(std::move(current));
      current.clear();
      inArgument = false;
    } else if (c == '"') {
      inQuotes = true;
      inArgument = true;
    } else {
      current += c;
      inArgument = true;
    }
  }
  if (inQuotes) return std::nullopt;
  if (inArgument) arguments.push_back(std::move(current));
  return arguments;
}

bool updateStartupEntry(bool enabled) {
  return enabled ? writeStartupEntry(programPath()) : removeStartupEntry();
}

#ifdef _WIN32

namespace {

constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunValue[] = "Quorvex Log Viewer";

}  // namespace

std::string startupEntryLocation() { return std::string("HKEY_LOCAL_MACHINE\\") + kRunKey; }

bool writeStartupEntry(const std::string& path) {
  if (path.empty()) return false;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
  // Quoted when it holds a space, so that the shell cannot take a prefix of
  // the path ("C:\Program") for the program to run.
  std::string command = path.find(' ') != std::string::npos ? "\"" + path + "\"" : path;
  command += ' ';
  command += kMinimizeArgument;
  const LONG status = RegSetValueExA(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                     static_cast<DWORD>(command.size() + 1));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

bool removeStartupEntry() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
  const LONG status = RegDeleteValueA(key, kRunValue);
  RegCloseKey(key);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

std::optional<std::vector<std::string>> readStartupEntry() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
  char buffer[1024] = {};
  DWORD size = sizeof buffer - 1;
  const LONG status = RegQueryValueExA(key, kRunValue, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return std::nullopt;
  std::string command(buffer);
  std::vector<std::string> arguments;
  if (!command.empty() && command.front() == '"') {
    const std::size_t close = command.find('"', 1);
    if (close == std::string::npos) return std::nullopt;
    arguments.push_back(command.substr(1, close - 1));
    command.erase(0, close + 1);
  } else {
    const std::string suffix = std::string(" ") + std::string(kMinimizeArgument);
    const bool hasSuffix = command.size() >= suffix.size() &&
                           command.compare(command.size() - suffix.size(), suffix.size(), suffix) == 0;
    const std::size_t cut = hasSuffix ? command.size() - suffix.size() : command.size();
    arguments.push_back(command.substr(0, cut));
    command.erase(0, cut);
  }
  const std::size_t first = command.find_first_not_of(' ');
  if (first != std::string::npos) arguments.push_back(command.substr(first));
  return arguments;
}

#else

namespace {

std::string autostartFolder() { return userConfigHome() + "/autostart"; }

}  // namespace

std::string startupEntryLocation() { return autostartFolder() + "/qvlogview.desktop"; }

bool writeStartupEntry(const std::string& path) {
  if (path.empty()) return false;
  std::error_code error;
  std::filesystem::create_directories(autostartFolder(), error);
  if (error) return false;
  const std::optional<std::string> exec = desktopExecCommand(path, kMinimizeArgument);
  if (!exec) return false;
  const std::string content =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=Quorvex Log Viewer\n"
      "Exec=" + escapeDesktopValue(*exec) + "\n"
      "Terminal=false\n"
      "X-GNOME-Autostart-enabled=true\n";
  return writeFileAtomically(startupEntryLocation(), content).ok();
}

bool removeStartupEntry() {
  return unlink(startupEntryLocation().c_str()) == 0 || errno == ENOENT;
}

std::optional<std::vector<std::string>> readStartupEntry() {
  std::ifstream file(startupEntryLocation(), std::ios::binary);
  if (!file) return std::nullopt;
  std::string line;
  bool inMainGroup = false;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[') {
      inMainGroup = line == "[Desktop Entry]";
      continue;
    }
    if (!inMainGroup) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    std::string_view key(line.data(), equals);
    while (!key.empty() && key.back() == ' ') key.remove_suffix(1);
    if (key != "Exec") continue;
    std::string_view value(line);
    value.remove_prefix(equals + 1);
    while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    return splitDesktopExec(value);
  }
  return std::nullopt;
}

#endif

}  // namespace qv::platform
