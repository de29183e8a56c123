#pragma once

#ifdef _WIN32

#include "settings/settings_store.h"

#include <memory>

namespace qv::settings {

// The settings key in the current user's registry: texts as REG_SZ with
// their terminator, 32-bit values as REG_DWORD, binary values as REG_BINARY.
std::unique_ptr<SettingsStore> makeRegistrySettingsStore();

}  // namespace qv::settings

#endif
