#pragma once

#include <string>

#include "logdata/log_fixtures.h"

namespace qv::test {

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

}  // namespace qv::test
