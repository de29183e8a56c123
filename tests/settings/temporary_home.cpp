#include "temporary_home.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
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

TemporaryFolder::TemporaryFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "qv-settings-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

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

std::string readWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void writeWholeFile(const std::string& path, const std::string& content) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << content;
}

}  // namespace qv::test
