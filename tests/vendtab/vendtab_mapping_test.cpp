#include <gtest/gtest.h>

#ifdef __linux__
#include <elf.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#endif

namespace qv {
namespace {

#ifdef __linux__

// The decoder maps the vendor library for every lookup; each extra segment
// costs an mmap, and RELRO an mprotect, every time. A change of link flags
// that brings them back would double the cost of a decoded frame unnoticed.
TEST(VendorLibraryMapping, LoadsAsOneCodeAndOneDataSegmentWithoutRelro) {
  std::ifstream in(QV_VENDTAB_PATH, std::ios::binary);
  ASSERT_TRUE(in) << QV_VENDTAB_PATH;
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Elf64_Ehdr header;
  ASSERT_GE(bytes.size(), sizeof header);
  std::memcpy(&header, bytes.data(), sizeof header);
  ASSERT_EQ(std::memcmp(header.e_ident, ELFMAG, SELFMAG), 0);
  ASSERT_EQ(header.e_ident[EI_CLASS], ELFCLASS64);
  ASSERT_EQ(header.e_phentsize, sizeof(Elf64_Phdr));
  ASSERT_LE(header.e_phoff + std::size_t{header.e_phnum} * sizeof(Elf64_Phdr), bytes.size());

  int loadSegments = 0;
  int writableLoadSegments = 0;
  bool relro = false;
  for (std::size_t i = 0; i < header.e_phnum; ++i) {
    Elf64_Phdr segment;
    std::memcpy(&segment, bytes.data() + header.e_phoff + i * sizeof segment, sizeof segment);
    if (segment.p_type == PT_LOAD) {
      ++loadSegments;
      if ((segment.p_flags & PF_W) != 0) ++writableLoadSegments;
      // Never writable and executable at once.
      EXPECT_FALSE((segment.p_flags & PF_W) != 0 && (segment.p_flags & PF_X) != 0) << "segment " << i;
    }
    if (segment.p_type == PT_GNU_RELRO) relro = true;
  }
  EXPECT_EQ(loadSegments, 2);
  EXPECT_EQ(writableLoadSegments, 1);
  EXPECT_FALSE(relro);
}

#endif

}  // namespace
}  // namespace qv
