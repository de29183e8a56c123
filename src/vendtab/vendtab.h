#pragma once

#include <cstdint>

// The one export of the vendor library. Callers load the library at run
// time and look the function up by this name; the declaration is here so
// that both sides agree on its type.
#if defined(_WIN32)
#if defined(QV_VENDTAB_BUILDING)
#define QV_VENDTAB_EXPORT __declspec(dllexport)
#else
#define QV_VENDTAB_EXPORT __declspec(dllimport)
#endif
#else
#define QV_VENDTAB_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

// The name of the organisation that holds an OUI (first byte x 65536 +
// second byte x 256 + third byte of a MAC address). Never null; the text is
// constant data of the library, valid while the library stays loaded.
// Keys without an entry, and keys above 0xFFFFFF, give "Reserved / Unknown".
QV_VENDTAB_EXPORT const char* GetVendorFromMAC(std::uint32_t oui);
}

namespace qv::vendtab {

inline constexpr const char* kExportName = "GetVendorFromMAC";
using GetVendorFromMacFunction = const char* (*)(std::uint32_t);

}  // namespace qv::vendtab
