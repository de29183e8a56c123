// Loads like the vendor library but exports the name in the wrong case only.
extern "C" __attribute__((visibility("default"))) const char* GetVendorFromMac(unsigned) { return "wrong export"; }
