#include "platform/dynamic_library.h"

#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace qv::platform {

DynamicLibrary::DynamicLibrary(const std::string& path) {
#ifdef _WIN32
  handle_ = reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
#else
  // RTLD_LOCAL: the library's symbols must not satisfy anyone else's lookups.
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
}

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    unload();
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

DynamicLibrary::~DynamicLibrary() { unload(); }

void* DynamicLibrary::findSymbol(const char* name) const noexcept {
  if (handle_ == nullptr) return nullptr;
#ifdef _WIN32
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
#else
  return dlsym(handle_, name);
#endif
}

void DynamicLibrary::unload() noexcept {
  if (handle_ == nullptr) return;
#ifdef _WIN32
  FreeLibrary(static_cast<HMODULE>(handle_));
#else
  dlclose(handle_);
#endif
  handle_ = nullptr;
}

}  // namespace qv::platform
