// Feeds arbitrary bytes to the filter.lst loader. Whatever it reads must be
// storable, and storing it must give a file that reloads to the same list;
// loading from a file must read what parsing the bytes reads.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "filter/filter_list_file.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

const std::string& scratchPath() {
  static const std::string path = "/tmp/qv_filter_list_fuzz_" + std::to_string(::getpid()) + ".lst";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const qv::FilterList list = qv::parseFilterList(bytes);
  for (const qv::FilterEntry& entry : list) {
    check(qv::isStorableFilterEntry(entry));
    check(entry.applicationName.size() <= qv::kFilterListNameLimit && entry.ruleName.size() <= qv::kFilterListNameLimit);
  }

  const std::string stored = qv::serializeFilterList(list);
  check(qv::parseFilterList(stored) == list);
  check(qv::serializeFilterList(qv::parseFilterList(stored)) == stored);

  // One input in sixteen also goes through a real file.
  if (size > 0 && data[0] % 16 == 0) {
    if (std::FILE* file = std::fopen(scratchPath().c_str(), "wb")) {
      const bool written = std::fwrite(data, 1, size, file) == size;
      std::fclose(file);
      if (written) {
        const qv::FilterListFileLoad load = qv::loadFilterListFile(scratchPath());
        check(load.errorNumber == 0 && load.list == list);
      }
      std::remove(scratchPath().c_str());
    }
  }
  return 0;
}
