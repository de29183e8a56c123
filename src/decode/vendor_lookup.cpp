#include "decode/vendor_lookup.h"

namespace qv {

// Placeholder until the vendor library loader lands: no names.
std::string lookupVendor(std::string_view) { return {}; }

}  // namespace qv
