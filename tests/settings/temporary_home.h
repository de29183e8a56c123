#pragma once

#include <filesystem>
#include <string>

namespace qv::test {

// A folder made for one test and removed with everything in it afterwards.
class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Points XDG_CONFIG_HOME at a folder for the lifetime of the object and puts
// the previous value back afterwards.
class ConfigHomeOverride {
 public:
  explicit ConfigHomeOverride(const std::string& folder);
  ~ConfigHomeOverride();
  ConfigHomeOverride(const ConfigHomeOverride&) = delete;
  ConfigHomeOverride& operator=(const ConfigHomeOverride&) = delete;

 private:
  std::string previous_;
  bool hadPrevious_;
};

std::string readWholeFile(const std::string& path);
void writeWholeFile(const std::string& path, const std::string& content);

}  // namespace qv::test
