#pragma once

#include <string>

namespace qv::platform {

// A shared library loaded by its full path for as long as this object lives
// (dlopen/dlsym/dlclose here, LoadLibraryA/GetProcAddress/FreeLibrary on
// Windows). Loading by full path keeps the system's search order, and any
// library of the same name elsewhere, out of the picture.
class DynamicLibrary {
 public:
  // Loads the library; isLoaded() tells whether that worked.
  explicit DynamicLibrary(const std::string& path);
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;
  DynamicLibrary(DynamicLibrary&& other) noexcept;
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
  ~DynamicLibrary();

  bool isLoaded() const noexcept { return handle_ != nullptr; }

  // The address of an exported symbol, or null when the library is not
  // loaded or does not export the name.
  void* findSymbol(const char* name) const noexcept;

 private:
  void unload() noexcept;

  void* handle_ = nullptr;
};

// The file name the vendor library has on this platform.
#ifdef _WIN32
inline constexpr const char* kVendorLibraryFileName = "vendtab.dll";
#else
inline constexpr const char* kVendorLibraryFileName = "libvendtab.so";
#endif

}  // namespace qv::platform
