#include "temporary_home.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace qv::test {
namespace {

// Before any test runs, the whole program's home and configuration folder
// move to a scratch folder, so that no test can reach the user's settings.
struct ScratchHome {
  std::filesystem::path folder;
  ScratchHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qv-settings-home-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a scratch home");
    folder = pattern;
    setenv("HOME", folder.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
  }
  ~ScratchHome() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
};
const ScratchHome scratchHome;

}  // namespace

ConfigHomeOverride::ConfigHomeOverride(const std::string& folder) {
  const char* previous = std::getenv("XDG_CONFIG_HOME");
  hadPrevious_ = previous != nullptr;
  if (hadPrevious_) previous_ = previous;
  setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
}

ConfigHomeOverride::~ConfigHomeOverride() {
  if (hadPrevious_) {
    setenv("XDG_CONFIG_HOME", previous_.c_str(), 1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
}

}  // namespace qv::test
